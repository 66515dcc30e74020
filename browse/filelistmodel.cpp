#include "browse/filelistmodel.h"

#include "browse/folderbrowser.h"
#include "platform/filenames.h"

namespace qm {

FileListModel::FileListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void FileListModel::reset(std::vector<FileEntry> entries, FolderHandle folder,
                          const QByteArray &folderPath)
{
    beginResetModel();
    m_entries = std::move(entries);
    m_folder = std::move(folder);
    m_folderPath = folderPath;
    endResetModel();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(std::min<size_t>(m_entries.size(), size_t(std::numeric_limits<int>::max())));
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return QVariant();
    return qm::displayName(m_entries[size_t(index.row())].name);
}

qint64 FileListModel::count() const
{
    return qint64(m_entries.size());
}

QString FileListModel::displayName(qint64 index) const
{
    if (index < 0 || index >= count())
        return QString();
    return qm::displayName(m_entries[size_t(index)].name);
}

QByteArray FileListModel::name(qint64 index) const
{
    if (index < 0 || index >= count())
        return QByteArray();
    return m_entries[size_t(index)].name;
}

std::optional<FileStat> FileListModel::stat(qint64 index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    return m_folder.stat(m_entries[size_t(index)].name);
}

QString FileListModel::folderPrefix() const
{
    if (m_folderPath.isEmpty())
        return QString();
    return qm::folderPrefix(folderText());
}

QString FileListModel::folderText() const
{
    return qm::displayName(m_folderPath);
}

} // namespace qm
