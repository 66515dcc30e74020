#pragma once

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::test {

/// A temporary folder removed by the exact bytes of its entries' names, unreadable folders
/// included (QTemporaryDir cannot remove names that are not valid UTF-8).
class ScratchFolder
{
    Q_DISABLE_COPY_MOVE(ScratchFolder)

public:
    ScratchFolder()
        : m_path(QFile::encodeName(QDir::tempPath()) + "/quillmark-test-XXXXXX")
    {
        if (!::mkdtemp(m_path.data()))
            m_path.clear();
        ::chmod(m_path.constData(), 0777); // so the unprivileged runs can use it too
    }
    ~ScratchFolder() { removeTree(AT_FDCWD, m_path.constData()); }

    bool isValid() const { return !m_path.isEmpty(); }
    QByteArray path() const { return m_path; }
    QByteArray path(const QByteArray &name) const { return m_path + '/' + name; }
    QString text() const { return QFile::decodeName(m_path); }

    /// Makes the file \a name in the folder, \a size bytes long (sparse), changed at
    /// \a modified seconds since the epoch, or now when that is negative.
    bool makeFile(const QByteArray &name, qint64 size = 0, qint64 modified = -1) const
    {
        const int fd
            = ::open(path(name).constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
        const bool made = fd >= 0 && ::ftruncate(fd, off_t(size)) == 0;
        if (fd >= 0)
            ::close(fd);
        return made && (modified < 0 || setTime(name, modified));
    }
    /// Sets the time of the entry \a name itself, a link's too.
    bool setTime(const QByteArray &name, qint64 modified) const
    {
        const timespec times[2] { { time_t(modified), 0 }, { time_t(modified), 0 } };
        return ::utimensat(AT_FDCWD, path(name).constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
    }

private:
    static void removeTree(int parentFd, const char *name)
    {
        ::fchmodat(parentFd, name, 0700, 0);
        const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        DIR *dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
        while (const dirent *entry = dir ? ::readdir(dir) : nullptr) {
            const QByteArray child(entry->d_name);
            if (child != "." && child != ".." && ::unlinkat(fd, entry->d_name, 0) != 0
                && (errno == EISDIR || errno == EPERM))
                removeTree(fd, entry->d_name);
        }
        if (dir)
            ::closedir(dir);
        else if (fd >= 0)
            ::close(fd);
        ::unlinkat(parentFd, name, AT_REMOVEDIR);
    }

    QByteArray m_path;
};

/// The bytes of the file at \a path, or "<none>" when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

/// Every entry of \a folder but "." and "..", hidden and special ones too, by name.
inline QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace qm::test
