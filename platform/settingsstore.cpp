#include "platform/settingsstore.h"

#include "platform/outputfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

// The folder of the user's INI files as QSettings names it (QSettings::setPath() included),
// with its separator, found without reading any of them: a name that nobody uses has no file.
QString userSettingsPrefix()
{
    const QString unused = QStringLiteral(".quillmark-unused");
    const QString file = QSettings(QSettings::IniFormat, QSettings::UserScope, unused).fileName();
    return file.left(file.size() - unused.size() - 4); // and ".ini"
}

// The files that a QSettings of \a application reads as it is made: the user's, then those of
// the system's folders.
QStringList filesRead(const QString &application)
{
    QStringList folders { userSettingsPrefix() };
    for (const QString &folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation).mid(1))
        folders << folder + u'/';
    QStringList files;
    for (const QString &folder : folders)
        files << folder + application + u'/' + application + QStringLiteral(".ini")
              << folder + application + QStringLiteral(".ini");
    return files;
}

// The first of \a files that reading would wait on for good (a FIFO, a terminal) or never
// finish (/dev/zero); a folder only fails to open.
std::optional<QString> unreadableFile(const QStringList &files)
{
    for (const QString &file : files) {
        struct stat info
        {
        };
        if (::stat(QFile::encodeName(file).constData(), &info) == 0 && !S_ISREG(info.st_mode)
            && !S_ISDIR(info.st_mode))
            return file;
    }
    return std::nullopt;
}

} // namespace

IniSettingsStore::IniSettingsStore() = default;

// Each QSettings writes its pending changes when it is destroyed.
IniSettingsStore::~IniSettingsStore() = default;

QSettings *IniSettingsStore::settingsFor(const QString &application) const
{
    if (m_refused.count(application))
        return nullptr;
    if (const auto found = m_settings.find(application); found != m_settings.end())
        return found->second.get();
    // QSettings reads its files as it is made, and would wait there.
    if (const std::optional<QString> file = unreadableFile(filesRead(application))) {
        m_refused[application] = { *file, outputRefusal(*file).value_or(QString()) };
        return nullptr;
    }
    auto &settings = m_settings[application];
    settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application,
                                           application);
    return settings.get();
}

QString IniSettingsStore::read(const QString &application, const QString &section,
                               const QString &key, const QString &defaultValue) const
{
    QSettings *settings = settingsFor(application);
    if (!settings)
        return defaultValue;
    settings->beginGroup(section);
    const QVariant value = settings->value(key);
    settings->endGroup();
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value with unquoted commas comes back as a list; keep its text whole.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void IniSettingsStore::write(const QString &application, const QString &section, const QString &key,
                             const QString &value)
{
    QSettings *settings = settingsFor(application);
    if (!settings) {
        m_refused[application].written = true;
        return;
    }
    settings->beginGroup(section);
    settings->setValue(key, value);
    settings->endGroup();
}

SettingsWriteResult IniSettingsStore::commit()
{
    for (const auto &[application, refused] : m_refused) {
        if (refused.written)
            return { false, refused.fileName, refused.reason };
    }
    for (auto &[application, settings] : m_settings) {
        settings->sync();
        const QSettings::Status status = settings->status();
        if (status == QSettings::NoError)
            continue;
        // QSettings tells neither why it failed nor, once it has met a damaged file, whether
        // writing failed too (the first error sticks, and the damaged file is rewritten whole):
        // what stands in the way is found by trying.
        qint64 size = 64;
        for (const QString &key : settings->allKeys())
            size += key.size() + settings->value(key).toString().size() + 4;
        SettingsWriteResult result;
        result.fileName = settings->fileName();
        result.reason = settingsWriteProblem(result.fileName, size);
        if (result.reason.isEmpty() && status == QSettings::FormatError)
            continue;
        if (result.reason.isEmpty())
            result.reason = QStringLiteral("the file could not be written");
        result.ok = false;
        return result;
    }
    return {};
}

QString IniSettingsStore::fileName(const QString &application)
{
    return filesRead(application).constFirst();
}

QString settingsWriteProblem(const QString &fileName, qint64 size)
{
    const QByteArray path = QFile::encodeName(QFileInfo(fileName).absoluteFilePath());
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray("/");

    // The folders on the way, made where missing, as writing would.
    QByteArray reached;
    for (const QByteArray &part : folder.split('/')) {
        if (part.isEmpty())
            continue;
        reached += '/' + part;
        struct stat st;
        if (::stat(reached.constData(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return QFile::decodeName(reached) + QStringLiteral(" is a file, not a folder");
            continue;
        }
        if (errno != ENOENT)
            return qt_error_string(errno);
        if (::mkdir(reached.constData(), 0777) != 0 && errno != EEXIST)
            return qt_error_string(errno);
    }

    struct stat st;
    if (::stat(path.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return qt_error_string(EISDIR);
        if (::access(path.constData(), W_OK) != 0)
            return qt_error_string(errno);
    }

    // A scratch file beside it, as large as the settings: room, permission, a read-only disk.
    QByteArray scratch = folder + "/.quillmark-write-test-XXXXXX";
    const int fd = ::mkstemp(scratch.data());
    if (fd < 0)
        return qt_error_string(errno);
    int error = 0;
    const QByteArray bytes(qMax<qint64>(size, 1), 'x');
    qsizetype written = 0;
    while (written < bytes.size() && error == 0) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            written += n;
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    ::unlink(scratch.constData());
    return error ? qt_error_string(error) : QString();
}

} // namespace qm
