#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QIcon>
#include <QString>

#include <vector>

namespace qm {

/// One line of the folder list.
struct FolderItem
{
    QByteArray path; // full path, file-system bytes
    QString label; // the drive root's path, or the folder's name in its text form
    int depth = 0; // indentation steps
    bool open = false; // the drive root, the ancestors and the current folder
};

/// The folder list: the current folder's ancestors from the drive root down, the current
/// folder, then its sub-folders.
class FolderListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        DepthRole = Qt::UserRole + 1, // int
        OpenRole, // bool
        PathRole, // QByteArray
    };

    explicit FolderListModel(QObject *parent = nullptr);

    /// Icons shown beside open and closed folders (none until set).
    void setIcons(const QIcon &open, const QIcon &closed);

    void reset(std::vector<FolderItem> items, int currentRow);

    /// Row of the current folder, -1 while the list is empty.
    int currentRow() const { return m_currentRow; }
    const FolderItem &item(int row) const { return m_items[size_t(row)]; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    std::vector<FolderItem> m_items;
    int m_currentRow = -1;
    QIcon m_openIcon;
    QIcon m_closedIcon;
};

} // namespace qm
