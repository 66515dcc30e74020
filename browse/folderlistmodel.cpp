#include "browse/folderlistmodel.h"

#include <limits>

namespace qm {

FolderListModel::FolderListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void FolderListModel::setIcons(const QIcon &open, const QIcon &closed)
{
    m_openIcon = open;
    m_closedIcon = closed;
    if (!m_items.empty())
        emit dataChanged(index(0), index(rowCount() - 1), { Qt::DecorationRole });
}

void FolderListModel::reset(std::vector<FolderItem> items, int currentRow)
{
    beginResetModel();
    m_items = std::move(items);
    m_currentRow = m_items.empty() ? -1 : currentRow;
    endResetModel();
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(std::min<size_t>(m_items.size(), size_t(std::numeric_limits<int>::max())));
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const FolderItem &folder = m_items[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return folder.label;
    case Qt::DecorationRole: {
        const QIcon &icon = folder.open ? m_openIcon : m_closedIcon;
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case DepthRole:
        return folder.depth;
    case OpenRole:
        return folder.open;
    case PathRole:
        return folder.path;
    default:
        return QVariant();
    }
}

} // namespace qm
