#include "platform/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// As many links as the system itself follows before it calls it a loop.
constexpr int MaxLinks = 40;
constexpr int CreateAttempts = 100;

QString kindRefusal(mode_t mode)
{
    if (S_ISDIR(mode))
        return u"It is a folder, not a file."_s;
    if (S_ISFIFO(mode))
        return u"It is a named pipe (FIFO), not a regular file."_s;
    if (S_ISSOCK(mode))
        return u"It is a socket, not a regular file."_s;
    if (S_ISCHR(mode))
        return u"It is a character device, not a regular file."_s;
    if (S_ISBLK(mode))
        return u"It is a block device, not a regular file."_s;
    return u"It is not a regular file."_s;
}

} // namespace

QString cannotWriteText(int error)
{
    return u"The file cannot be written: %1."_s.arg(qt_error_string(error));
}

QString notCompletedText(int error)
{
    return u"The file could not be written completely: %1."_s.arg(qt_error_string(error));
}

std::optional<QString> outputRefusal(const QString &path)
{
    if (path.isEmpty())
        return u"No file name was given."_s;
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (S_ISREG(info.st_mode))
            return std::nullopt;
        return kindRefusal(info.st_mode);
    }
    // Nothing there yet (a dangling link included) is where a new file goes; anything else
    // (a loop of links, a folder on the way that cannot be searched) cannot take one.
    if (errno == ENOENT)
        return std::nullopt;
    return cannotWriteText(errno);
}

QString outputTarget(const QString &path)
{
    QFileInfo info(path);
    for (int hop = 0; hop < MaxLinks && info.isSymbolicLink(); ++hop)
        info.setFile(info.symLinkTarget());
    return info.isSymbolicLink() ? path : info.filePath();
}

ReplacingFile::ReplacingFile(const QString &path)
    : m_path(path)
{
}

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::fail(const QString &why)
{
    m_error = why;
    discard();
    return false;
}

bool ReplacingFile::create()
{
    discard();
    m_error.clear();
    if (const std::optional<QString> refused = outputRefusal(m_path))
        return fail(*refused);
    m_target = outputTarget(m_path);

    const QFileInfo target(m_target);
    const QString stem = target.absolutePath() + u"/."_s + target.fileName() + u'.';
    int error = 0;
    for (int attempt = 0; attempt < CreateAttempts && m_fd < 0; ++attempt) {
        const QString name
            = stem + QString::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 36);
        // The usual permissions of a new file: the mask of the process applies.
        m_fd = ::open(QFile::encodeName(name).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        error = errno;
        if (m_fd >= 0)
            m_temporary = name;
        else if (error != EEXIST)
            break;
    }
    if (m_fd < 0)
        return fail(cannotWriteText(error));

    // The replacement keeps what the earlier file allowed.
    struct stat earlier
    {
    };
    if (::stat(QFile::encodeName(m_target).constData(), &earlier) == 0)
        ::fchmod(m_fd, earlier.st_mode & 07777);
    return true;
}

bool ReplacingFile::commit()
{
    if (m_fd < 0)
        return fail(m_error.isEmpty() ? u"The file was not created."_s : m_error);
    // A disk that filled up or failed is heard of here at the latest, before anything is
    // replaced.
    if (::fsync(m_fd) != 0)
        return fail(notCompletedText(errno));
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return fail(notCompletedText(errno));
    if (::rename(QFile::encodeName(m_temporary).constData(),
                 QFile::encodeName(m_target).constData())
        != 0)
        return fail(u"The finished file could not take the place of the earlier one: %1."_s.arg(
            qt_error_string(errno)));
    m_temporary.clear();
    return true;
}

void ReplacingFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(QFile::encodeName(m_temporary).constData());
        m_temporary.clear();
    }
}

} // namespace qm
