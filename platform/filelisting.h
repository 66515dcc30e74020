#pragma once

#include "platform/fileentry.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace qm {

class PatternMatcher;

/// What one pass over a folder found.
struct FolderListing
{
    std::vector<FileEntry> files; // every non-folder entry whose name passed the pattern
    std::vector<QByteArray> folders; // sub-folder names, links to folders included
    int error = 0; // errno when the folder could not be read to its end
};

/// Told now and then how many of a folder's \a total entries have been looked at.
using ListingProgress = std::function<void(qint64 inspected, qint64 total)>;

/// An open folder. Entries are read and sized relative to it, so names are used as their
/// exact bytes and paths longer than PATH_MAX still work. Entries themselves are never
/// opened: a FIFO or a device is only looked at, never read.
class FolderHandle
{
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle &&other) noexcept;
    FolderHandle &operator=(FolderHandle &&other) noexcept;
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    /// Opens the folder at \a nativePath (file-system bytes). Check isOpen() or error().
    static FolderHandle open(const QByteArray &nativePath);

    bool isOpen() const { return m_fd >= 0; }
    /// errno of the failed open, 0 when open.
    int error() const { return m_error; }

    /// One pass over the folder: one readdir walk and at most two fstatat per entry.
    /// Files whose names \a pattern rejects are dropped before they are sized; entries
    /// that vanish while being read are left out. \a progress, when given, hears on the
    /// calling thread how far the stats have got.
    FolderListing list(const PatternMatcher &pattern, const ListingProgress &progress = {}) const;

    /// Opens the folder \a relativePath ("a/b", file-system bytes) below this one, one
    /// component at a time, never through a symbolic link: a link on the way gives ELOOP or
    /// ENOTDIR, so a walk down a tree stays inside it.
    FolderHandle openSubfolder(QByteArrayView relativePath) const;

    /// The device and inode of the open folder, equal for two handles on the same folder
    /// (also when a bind mount shows it twice); nothing when it is not open.
    std::optional<std::pair<quint64, quint64>> identity() const;

    /// Size and time of the entry named \a name now, following a link to its target (a
    /// dangling link shows its own); nothing when it vanished, cannot be read or has become
    /// a folder.
    std::optional<FileStat> stat(QByteArrayView name) const;

private:
    explicit FolderHandle(int fd, int error)
        : m_fd(fd)
        , m_error(error)
    {
    }

    int m_fd = -1;
    int m_error = 0;
};

} // namespace qm
