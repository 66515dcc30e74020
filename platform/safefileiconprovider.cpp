#include "platform/safefileiconprovider.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIcon>
#include <QPointer>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

enum class Kind { Folder, Regular, Fifo, Socket, CharacterDevice, BlockDevice, Link, Missing };

// What the file system says the entry is, following a link; stat opens nothing.
Kind kindOf(const QFileInfo &info)
{
    const QByteArray path = QFile::encodeName(info.absoluteFilePath());
    struct stat status
    {
    };
    if (::stat(path.constData(), &status) != 0)
        return ::lstat(path.constData(), &status) == 0 ? Kind::Link : Kind::Missing;
    switch (status.st_mode & S_IFMT) {
    case S_IFDIR:
        return Kind::Folder;
    case S_IFREG:
        return Kind::Regular;
    case S_IFIFO:
        return Kind::Fifo;
    case S_IFSOCK:
        return Kind::Socket;
    case S_IFCHR:
        return Kind::CharacterDevice;
    case S_IFBLK:
        return Kind::BlockDevice;
    default:
        return Kind::Missing;
    }
}

// The shared-mime-info type of an entry that is no regular file.
QString inodeType(Kind kind)
{
    switch (kind) {
    case Kind::Fifo:
        return u"inode/fifo"_s;
    case Kind::Socket:
        return u"inode/socket"_s;
    case Kind::CharacterDevice:
        return u"inode/chardevice"_s;
    case Kind::BlockDevice:
        return u"inode/blockdevice"_s;
    case Kind::Link:
        return u"inode/symlink"_s;
    default:
        return QString();
    }
}

class FileDialogGuard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A window is polished and shown before its event loop takes in what a listing found,
        // which is when the provider is first asked. Besides the file dialogs, the print
        // dialog completes the file name it is typed through a model of its own.
        if (event->type() != QEvent::Polish && event->type() != QEvent::Show)
            return false;
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || !window->isWindow())
            return false;
        if (auto *dialog = qobject_cast<QFileDialog *>(window);
            dialog && dialog->iconProvider() != &m_icons)
            dialog->setIconProvider(&m_icons); // the places on its left too
        const QList<QFileSystemModel *> models = window->findChildren<QFileSystemModel *>();
        for (QFileSystemModel *model : models) {
            if (model->iconProvider() != &m_icons)
                model->setIconProvider(&m_icons);
        }
        return false;
    }

private:
    SafeFileIconProvider m_icons;
};

} // namespace

QIcon SafeFileIconProvider::icon(const QFileInfo &info) const
{
    const Kind kind = kindOf(info);
    if (kind == Kind::Folder)
        return icon(info.isRoot() ? Drive : Folder);
    const QMimeType type = kind == Kind::Regular
        ? m_types.mimeTypesForFileName(info.fileName()).value(0)
        : m_types.mimeTypeForName(inodeType(kind));
    if (type.isValid()) {
        for (const QString &name : { type.iconName(), type.genericIconName() }) {
            if (QIcon::hasThemeIcon(name))
                return QIcon::fromTheme(name);
        }
    }
    return icon(File);
}

QString SafeFileIconProvider::type(const QFileInfo &info) const
{
    const Kind kind = kindOf(info);
    if (kind == Kind::Folder)
        return QFileIconProvider::type(info); // "Folder", or "Drive" for a root
    if (kind == Kind::Missing)
        return QString();
    const QMimeType type = kind == Kind::Regular
        ? m_types.mimeTypesForFileName(info.fileName()).value(0)
        : m_types.mimeTypeForName(inodeType(kind));
    if (!type.isValid())
        return QApplication::translate("QAbstractFileIconProvider", "File");
    return type.comment().isEmpty() ? type.name() : type.comment();
}

void guardFileDialogs()
{
    static QPointer<QObject> guard;
    QCoreApplication *application = QCoreApplication::instance();
    if (guard || !application)
        return;
    guard = new FileDialogGuard(application);
    application->installEventFilter(guard);
}

} // namespace qm
