#pragma once

#include "catalogue/cataloguesource.h"
#include "platform/fileentry.h"
#include "platform/filelisting.h"

#include <QAbstractListModel>
#include <QByteArray>

#include <vector>

namespace qm {

/// The file list: the listed entries of one folder in list order. Rows show each name's text
/// form; the catalogue outputs read sizes and times afresh through the kept-open folder.
class FileListModel : public QAbstractListModel, public CatalogueSource
{
    Q_OBJECT

public:
    explicit FileListModel(QObject *parent = nullptr);

    /// Replaces the whole list. \a folder is the open folder the entries were read from
    /// (kept open for stat()), \a folderPath its path.
    void reset(std::vector<FileEntry> entries, FolderHandle folder, const QByteArray &folderPath);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    qint64 count() const override;
    QString displayName(qint64 index) const override;
    QByteArray name(qint64 index) const override;
    std::optional<FileStat> stat(qint64 index) const override;
    QString folderPrefix() const override;
    QString folderText() const override;

    /// The entry as it was listed; \a index must be in range.
    const FileEntry &entry(qint64 index) const { return m_entries[size_t(index)]; }
    QByteArray folderPath() const { return m_folderPath; }

private:
    std::vector<FileEntry> m_entries;
    FolderHandle m_folder;
    QByteArray m_folderPath;
};

} // namespace qm
