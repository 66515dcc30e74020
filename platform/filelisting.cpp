#include "platform/filelisting.h"

#include "platform/wildcard.h"

#include <QByteArrayList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

constexpr int DirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

enum class EntryKind { File, Folder, Gone };

struct EntryInfo
{
    EntryKind kind = EntryKind::Gone;
    FileStat stat;
    quint8 attributes = 0;
    bool statOk = true;
};

/// Opens a path too long for open() one component at a time.
int openByComponents(const QByteArray &path)
{
    int fd = ::open(path.startsWith('/') ? "/" : ".", DirectoryFlags);
    for (const QByteArray &name : path.split('/')) {
        if (fd < 0)
            break;
        if (name.isEmpty())
            continue;
        const int next = ::openat(fd, name.constData(), DirectoryFlags);
        const int saved = errno;
        ::close(fd);
        errno = saved;
        fd = next;
    }
    return fd;
}

quint8 modeAttributes(mode_t mode)
{
    quint8 attributes = 0;
    if (!S_ISREG(mode))
        attributes |= AttrSystem;
    if (!(mode & S_IWUSR))
        attributes |= AttrReadOnly;
    return attributes;
}

FileStat statOf(const struct stat &st)
{
    return FileStat { qint64(st.st_size), qint64(st.st_mtim.tv_sec) };
}

/// Looks at one entry without opening it. A link is followed for its target's kind, size
/// and time; a link that leads nowhere counts as System with its own size and time.
EntryInfo inspect(int folderFd, const char *name, unsigned char direntType)
{
    EntryInfo info;
    if (direntType == DT_DIR) {
        info.kind = EntryKind::Folder;
        return info;
    }
    struct stat st;
    if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return info; // gone since readdir
        // Present but not readable: listed, sized 0, known only by its name.
        info.kind = EntryKind::File;
        info.statOk = false;
        return info;
    }
    if (S_ISLNK(st.st_mode)) {
        struct stat target;
        if (::fstatat(folderFd, name, &target, 0) == 0) {
            if (S_ISDIR(target.st_mode)) {
                info.kind = EntryKind::Folder;
                return info;
            }
            info.kind = EntryKind::File;
            info.stat = statOf(target);
            info.attributes = modeAttributes(target.st_mode);
            return info;
        }
        info.kind = EntryKind::File;
        info.stat = statOf(st);
        info.attributes = AttrSystem;
        return info;
    }
    if (S_ISDIR(st.st_mode)) {
        info.kind = EntryKind::Folder;
        return info;
    }
    info.kind = EntryKind::File;
    info.stat = statOf(st);
    info.attributes = modeAttributes(st.st_mode);
    return info;
}

struct Candidate
{
    QByteArray name;
    unsigned char type;
};

/// Inspects every candidate. Above a few thousand names the second half goes to a second
/// thread: each result has its own slot, so the two halves share nothing but the folder fd.
std::vector<EntryInfo> inspectAll(int folderFd, const std::vector<Candidate> &candidates,
                                  const ListingProgress &progress)
{
    constexpr size_t ParallelFrom = 4096;
    constexpr size_t ProgressEvery = 1024;
    std::vector<EntryInfo> infos(candidates.size());
    auto inspectRange = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            infos[i] = inspect(folderFd, candidates[i].name.constData(), candidates[i].type);
    };
    const size_t count = candidates.size();
    // The calling thread's part in steps, each followed by the news of how far it got; the
    // other half keeps pace with it.
    auto inspectTelling = [&](size_t to, qint64 share) {
        for (size_t from = 0; from < to; from += ProgressEvery) {
            inspectRange(from, std::min(to, from + ProgressEvery));
            if (progress)
                progress(qint64(std::min(to, from + ProgressEvery)) * share, qint64(count));
        }
    };
    if (count < ParallelFrom || std::thread::hardware_concurrency() < 2) {
        inspectTelling(count, 1);
        return infos;
    }
    const size_t half = count / 2;
    std::thread second;
    try {
        second = std::thread(inspectRange, half, count);
    } catch (const std::system_error &) {
        inspectRange(half, count); // no thread to be had: do it here
    }
    inspectTelling(half, 2);
    if (second.joinable())
        second.join();
    return infos;
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

} // namespace

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderHandle::FolderHandle(FolderHandle &&other) noexcept
    : m_fd(other.m_fd)
    , m_error(other.m_error)
{
    other.m_fd = -1;
}

FolderHandle &FolderHandle::operator=(FolderHandle &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        m_error = other.m_error;
        other.m_fd = -1;
    }
    return *this;
}

FolderHandle FolderHandle::open(const QByteArray &nativePath)
{
    if (nativePath.isEmpty() || nativePath.contains('\0'))
        return FolderHandle(-1, ENOENT);
    int fd = ::open(nativePath.constData(), DirectoryFlags);
    if (fd < 0 && errno == ENAMETOOLONG)
        fd = openByComponents(nativePath);
    return fd >= 0 ? FolderHandle(fd, 0) : FolderHandle(-1, errno);
}

FolderListing FolderHandle::list(const PatternMatcher &pattern,
                                 const ListingProgress &progress) const
{
    FolderListing listing;
    if (m_fd < 0) {
        listing.error = m_error ? m_error : EBADF;
        return listing;
    }
    // readdir takes over the descriptor it is given, so it gets a duplicate. (Reopening "."
    // would need search permission, which a folder readable only by name lacks.)
    const int listFd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    if (listFd < 0) {
        listing.error = errno;
        return listing;
    }
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        listing.error = errno;
        ::close(listFd);
        return listing;
    }
    // The duplicate shares its reading position with the kept descriptor.
    ::rewinddir(dir);
    const bool matchAll = pattern.matchesAll();
    // A folder's size hints at how many entries it holds; untouched capacity costs nothing.
    struct stat folderStat;
    if (::fstat(listFd, &folderStat) == 0 && folderStat.st_size > 0)
        listing.files.reserve(size_t(std::min<qint64>(folderStat.st_size / 32, 1 << 20)));
    // Names first, in one pass; then one stat per name, split over two threads for a large
    // folder, since the stats are nearly all of the time and a desktop has a second core.
    std::vector<Candidate> candidates;
    candidates.reserve(listing.files.capacity());
    for (;;) {
        errno = 0;
        const struct dirent *entry = ::readdir(dir);
        if (!entry) {
            listing.error = errno;
            break;
        }
        const char *name = entry->d_name;
        if (isDotOrDotDot(name))
            continue;
        const QByteArrayView nameView(name, qsizetype(std::strlen(name)));
        const unsigned char type = entry->d_type;
        if (type == DT_DIR) {
            listing.folders.emplace_back(nameView.toByteArray());
            continue;
        }
        // A name known to be a plain file can be rejected before it costs a stat.
        const bool knownFile = type != DT_LNK && type != DT_UNKNOWN;
        if (knownFile && !matchAll && !pattern.matches(nameView))
            continue;
        candidates.push_back(Candidate { nameView.toByteArray(), type });
    }
    ::closedir(dir);

    const std::vector<EntryInfo> infos = inspectAll(m_fd, candidates, progress);
    for (size_t i = 0; i < candidates.size(); ++i) {
        const EntryInfo &info = infos[i];
        QByteArray &name = candidates[i].name;
        if (info.kind == EntryKind::Gone)
            continue;
        if (info.kind == EntryKind::Folder) {
            listing.folders.push_back(std::move(name));
            continue;
        }
        const bool knownFile = candidates[i].type != DT_LNK && candidates[i].type != DT_UNKNOWN;
        if (!knownFile && !matchAll && !pattern.matches(QByteArrayView(name)))
            continue;
        FileEntry file;
        file.stat = info.stat;
        file.attributes = info.attributes;
        file.statOk = info.statOk;
        if (name.startsWith('.'))
            file.attributes |= AttrHidden;
        file.name = std::move(name);
        listing.files.push_back(std::move(file));
    }
    return listing;
}

FolderHandle FolderHandle::openSubfolder(QByteArrayView relativePath) const
{
    if (m_fd < 0)
        return FolderHandle(-1, m_error ? m_error : EBADF);
    if (relativePath.isEmpty() || relativePath.contains('\0') || relativePath.startsWith('/'))
        return FolderHandle(-1, ENOENT);
    int fd = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    for (const QByteArray &name : relativePath.toByteArray().split('/')) {
        if (fd < 0)
            break;
        if (name.isEmpty() || name == ".")
            continue;
        // Up is not below.
        const int next
            = name == ".." ? -1 : ::openat(fd, name.constData(), DirectoryFlags | O_NOFOLLOW);
        const int saved = name == ".." ? ENOENT : errno;
        ::close(fd);
        errno = saved;
        fd = next;
    }
    return fd >= 0 ? FolderHandle(fd, 0) : FolderHandle(-1, errno);
}

std::optional<std::pair<quint64, quint64>> FolderHandle::identity() const
{
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return std::nullopt;
    return std::pair { quint64(st.st_dev), quint64(st.st_ino) };
}

std::optional<FileStat> FolderHandle::stat(QByteArrayView name) const
{
    if (m_fd < 0 || name.isEmpty() || name.contains('\0') || name.contains('/'))
        return std::nullopt;
    const QByteArray terminated = name.toByteArray();
    const EntryInfo info = inspect(m_fd, terminated.constData(), DT_UNKNOWN);
    if (info.kind != EntryKind::File || !info.statOk)
        return std::nullopt;
    return info.stat;
}

} // namespace qm
