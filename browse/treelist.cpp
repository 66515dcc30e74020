#include "browse/treelist.h"

#include "browse/folderbrowser.h"
#include "platform/filenames.h"
#include "platform/numbers.h"
#include "platform/wildcard.h"

#include <cerrno>
#include <optional>
#include <utility>

namespace qm {

namespace {

// A folder on the way down, with the sub-folders still to enter.
struct Level
{
    FolderHandle handle;
    QByteArray path;
    QString prefix;
    std::optional<std::pair<quint64, quint64>> identity;
    std::vector<QByteArray> subFolders;
    size_t next = 0;
};

} // namespace

TreeResult TreeList::list(const QByteArray &topPath, const PatternMatcher &pattern,
                          const AttributeSwitches &switches, const Reading &reading,
                          const Problem &problem)
{
    m_topPath = topPath;
    m_folders.clear();
    m_entries.clear();
    m_current = FolderHandle();
    m_currentOpen = false;
    m_top = FolderHandle::open(topPath);

    TreeResult result;
    if (!m_top.isOpen()) {
        result.error = m_top.error();
        return result;
    }

    std::vector<Level> stack;
    // Lists one folder, keeps its files and goes down into it next.
    auto enter = [&](FolderHandle handle, QByteArray path, QString prefix) {
        if (reading)
            reading(prefix);
        FolderListing listing = filteredListing(handle, pattern, switches);
        if (listing.error != 0) {
            if (path.isEmpty()) {
                result.error = listing.error;
                return false;
            }
            // What was read before the failure stays listed.
            if (problem)
                problem({ path, prefix.chopped(1), listing.error });
        }
        if (!listing.files.empty()) {
            const auto folder = quint32(m_folders.size());
            m_folders.push_back({ path, prefix });
            result.fileCount += qint64(listing.files.size());
            result.byteTotal = saturatingAdd(result.byteTotal, byteTotal(listing.files));
            for (FileEntry &file : listing.files)
                m_entries.push_back({ std::move(file.name), folder });
        }
        const auto identity = handle.identity();
        stack.push_back({ std::move(handle), std::move(path), std::move(prefix), identity,
                          std::move(listing.folders), 0 });
        return true;
    };

    if (!enter(m_top.openSubfolder("."), QByteArray(), QString())) {
        m_folders.clear();
        m_entries.clear();
        result.fileCount = 0;
        result.byteTotal = 0;
        return result;
    }
    while (!stack.empty()) {
        Level &level = stack.back();
        if (level.next == level.subFolders.size()) {
            stack.pop_back();
            continue;
        }
        const QByteArray &name = level.subFolders[level.next++];
        FolderHandle child = level.handle.openSubfolder(name);
        QByteArray path = level.path.isEmpty() ? name : QByteArray(level.path + '/' + name);
        QString prefix = level.prefix + qm::displayName(name) + u'/';
        if (!child.isOpen()) {
            // A link to a folder is not followed, and a folder that has gone since the
            // listing (or has become something else) has nothing to list.
            const int error = child.error();
            if (error == ELOOP || error == ENOTDIR || error == ENOENT)
                continue;
            if (problem)
                problem({ std::move(path), prefix.chopped(1), error });
            continue;
        }
        // Only a bind mount can show a folder inside itself; entering it would never end.
        const auto identity = child.identity();
        bool above = false;
        for (const Level &ancestor : stack)
            above = above || (identity && ancestor.identity == identity);
        if (above)
            continue;
        enter(std::move(child), std::move(path), std::move(prefix));
    }
    return result;
}

QString TreeList::displayName(qint64 index) const
{
    if (index < 0 || index >= count())
        return QString();
    const Entry &entry = m_entries[size_t(index)];
    return m_folders[entry.folder].prefix + qm::displayName(entry.name);
}

QByteArray TreeList::name(qint64 index) const
{
    if (index < 0 || index >= count())
        return QByteArray();
    const Entry &entry = m_entries[size_t(index)];
    const QByteArray &folder = m_folders[entry.folder].path;
    return folder.isEmpty() ? entry.name : QByteArray(folder + '/' + entry.name);
}

const FolderHandle &TreeList::folderHandle(quint32 folder) const
{
    if (m_folders[folder].path.isEmpty())
        return m_top;
    if (!m_currentOpen || m_currentFolder != folder) {
        m_current = m_top.openSubfolder(m_folders[folder].path);
        m_currentFolder = folder;
        m_currentOpen = true;
    }
    return m_current;
}

std::optional<FileStat> TreeList::stat(qint64 index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    const Entry &entry = m_entries[size_t(index)];
    return folderHandle(entry.folder).stat(entry.name);
}

QString TreeList::folderPrefix() const
{
    if (m_topPath.isEmpty())
        return QString();
    return qm::folderPrefix(folderText());
}

QString TreeList::folderText() const
{
    return qm::displayName(m_topPath);
}

} // namespace qm
