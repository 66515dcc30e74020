#include "browse/folderbrowser.h"

#include "browse/nameorder.h"
#include "platform/drives.h"
#include "platform/filenames.h"
#include "platform/numbers.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

namespace qm {

QString folderPrefix(const QString &path)
{
    if (path.endsWith(u'/'))
        return path;
    return path + u'/';
}

QString refreshProblemText(const RefreshResult &result)
{
    if (result.error != 0) {
        QString reason = qt_error_string(result.error);
        if (!reason.isEmpty())
            reason[0] = reason[0].toLower();
        return QStringLiteral("Cannot read this folder: ") + reason;
    }
    if (result.fellBack)
        return QStringLiteral("The folder is gone; showing its parent");
    return QString();
}

FolderBrowser::FolderBrowser()
    : m_folderPath(cleanFolderPath(QFile::encodeName(defaultFolder())))
    , m_drive(driveOf(folder()))
{
}

void FolderBrowser::setFolder(const QString &path)
{
    setFolderPath(QFile::encodeName(path));
}

void FolderBrowser::setFolderPath(const QByteArray &nativePath)
{
    m_folderPath = cleanFolderPath(nativePath);
}

QString FolderBrowser::folder() const
{
    return QFile::decodeName(m_folderPath);
}

void FolderBrowser::setPattern(const QString &text)
{
    m_patternText = text;
    m_pattern = PatternMatcher(text);
}

FolderListing filteredListing(const FolderHandle &folder, const PatternMatcher &pattern,
                              const AttributeSwitches &switches, const ListingProgress &progress)
{
    FolderListing listing = folder.list(pattern, progress);
    std::erase_if(listing.files, [&switches](const FileEntry &file) {
        return !attributesMatch(file.attributes, switches);
    });
    sortByName(listing.files);
    sortByName(listing.folders);
    return listing;
}

quint64 byteTotal(const std::vector<FileEntry> &files)
{
    quint64 total = 0;
    for (const FileEntry &file : files) {
        if (!file.statOk || file.stat.size <= 0)
            continue;
        total = saturatingAdd(total, quint64(file.stat.size));
    }
    return total;
}

RefreshResult FolderBrowser::refresh(const ListingProgress &progress)
{
    m_result = RefreshResult();
    FolderHandle handle = FolderHandle::open(m_folderPath);
    if (!handle.isOpen() && (handle.error() == ENOENT || handle.error() == ENOTDIR)) {
        const QByteArray parent = nearestExistingFolderPath(m_folderPath);
        m_result.fellBack = parent != m_folderPath;
        m_folderPath = parent;
        handle = FolderHandle::open(m_folderPath);
    }

    FolderListing listing;
    if (handle.isOpen())
        // Copies: the window repaints during a long listing, and they must hold still.
        listing = filteredListing(handle, PatternMatcher(m_pattern), AttributeSwitches(m_switches),
                                  progress);
    else
        listing.error = handle.error();
    m_result.error = listing.error;
    std::vector<FileEntry> &files = listing.files;
    m_result.fileCount = qint64(files.size());
    m_result.byteTotal = byteTotal(files);

    m_drive = driveOf(folder());
    const qsizetype subFolderCount = qsizetype(listing.folders.size());
    std::vector<FolderItem> items
        = folderItems(QFile::encodeName(m_drive), m_folderPath, std::move(listing.folders));
    const int currentRow = int(qsizetype(items.size()) - subFolderCount) - 1; // the folder itself
    m_folders.reset(std::move(items), currentRow);
    m_files.reset(std::move(files), std::move(handle), m_folderPath);
    return m_result;
}

std::vector<FolderItem> folderItems(const QByteArray &driveRoot, const QByteArray &folderPath,
                                    std::vector<QByteArray> subFolders)
{
    std::vector<FolderItem> items;
    items.reserve(subFolders.size() + 8);

    // A drive root that is not above the folder (its name did not survive the trip through
    // text) would lose the ancestors: the list then starts at the file system's root.
    QByteArray root = driveRoot;
    const bool underRoot = root == "/" || folderPath == root || folderPath.startsWith(root + '/');
    if (!underRoot)
        root = "/";
    items.push_back(FolderItem { root, displayName(root), 0, true });

    QByteArray path = root;
    const QByteArray rest = folderPath.mid(root.size());
    for (const QByteArray &component : rest.split('/')) {
        if (component.isEmpty())
            continue;
        if (!path.endsWith('/'))
            path += '/';
        path += component;
        items.push_back(FolderItem { path, displayName(component), int(items.size()), true });
    }

    const int childDepth = int(items.size());
    const QByteArray prefix = folderPath.endsWith('/') ? folderPath : folderPath + '/';
    for (QByteArray &name : subFolders) {
        QString label = displayName(name);
        items.push_back(FolderItem { prefix + name, std::move(label), childDepth, false });
    }
    return items;
}

} // namespace qm
