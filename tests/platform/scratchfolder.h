#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::test {

/// A temporary folder that is removed by the exact bytes of its entries' names, folders
/// made unreadable included. (QTemporaryDir cannot remove names that are not valid UTF-8.)
class ScratchFolder
{
public:
    ScratchFolder()
    {
        QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/quillmark-test-XXXXXX";
        if (::mkdtemp(pattern.data())) {
            m_path = pattern;
            // World-writable, so that the same checks also run as an ordinary user.
            ::chmod(m_path.constData(), 0777);
        }
    }
    ~ScratchFolder()
    {
        if (!m_path.isEmpty())
            removeTree(AT_FDCWD, m_path.constData());
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QByteArray path() const { return m_path; }
    QString text() const { return QFile::decodeName(m_path); }

private:
    static void removeTree(int parentFd, const char *name)
    {
        ::fchmodat(parentFd, name, 0700, 0);
        const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            if (DIR *dir = ::fdopendir(fd)) {
                while (const dirent *entry = ::readdir(dir)) {
                    const char *child = entry->d_name;
                    if (child[0] == '.' && (!child[1] || (child[1] == '.' && !child[2])))
                        continue;
                    if (::unlinkat(fd, child, 0) != 0 && (errno == EISDIR || errno == EPERM))
                        removeTree(fd, child);
                }
                ::closedir(dir);
            } else {
                ::close(fd);
            }
        }
        ::unlinkat(parentFd, name, AT_REMOVEDIR);
    }

    QByteArray m_path;
};

} // namespace qm::test
