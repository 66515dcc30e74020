#include "platform/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

bool isPseudoFileSystem(const QByteArray &type)
{
    static const QByteArrayList pseudo = {
        "proc",        "sysfs",       "cgroup",   "cgroup2",    "devpts",
        "devtmpfs",    "securityfs",  "debugfs",  "tracefs",    "pstore",
        "bpf",         "configfs",    "fusectl",  "mqueue",     "hugetlbfs",
        "autofs",      "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",
        "selinuxfs",   "nfsd",        "rootfs",   "ramfs",      "fuse.gvfsd-fuse",
        "fuse.portal", "squashfs",
    };
    return pseudo.contains(type);
}

bool isSystemRuntimePath(const QString &root)
{
    static const QStringList prefixes = { u"/proc"_s,    u"/sys"_s,      u"/dev"_s, u"/run"_s,
                                          u"/var/run"_s, u"/var/lock"_s, u"/snap"_s };
    for (const QString &prefix : prefixes) {
        if (root == prefix || root.startsWith(prefix + u'/'))
            return true;
    }
    return false;
}

bool contains(const QString &root, const QString &path)
{
    if (root == u"/")
        return path.startsWith(u'/');
    return path == root || (path.startsWith(root) && path.at(root.size()) == u'/');
}

bool isFolder(const QByteArray &path)
{
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

QStringList drives()
{
    QStringList roots;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        const QString root = volume.rootPath();
        if (root == u"/") {
            roots.append(root);
            continue;
        }
        if (!volume.isValid() || !volume.isReady() || isPseudoFileSystem(volume.fileSystemType())
            || isSystemRuntimePath(root) || !isFolder(QFile::encodeName(root)))
            continue;
        roots.append(root);
    }
    std::sort(roots.begin(), roots.end(), [](const QString &a, const QString &b) {
        if ((a == u"/") != (b == u"/"))
            return a == u"/";
        return a < b;
    });
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    if (roots.isEmpty() || roots.first() != u"/")
        roots.prepend(u"/"_s);
    return roots;
}

QString driveOf(const QString &path, const QStringList &roots)
{
    QString best = u"/"_s;
    for (const QString &root : roots) {
        if (root.size() > best.size() && contains(root, path))
            best = root;
    }
    return best;
}

QString driveOf(const QString &path)
{
    return driveOf(path, drives());
}

QString defaultFolder()
{
    return QDir::homePath();
}

QByteArray cleanFolderPath(const QByteArray &nativePath)
{
    QByteArray path = nativePath;
    if (!path.startsWith('/'))
        path = QFile::encodeName(QDir::currentPath()) + '/' + path;
    QByteArrayList parts;
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return '/' + parts.join('/');
}

QByteArray nearestExistingFolderPath(const QByteArray &nativePath)
{
    if (!nativePath.isEmpty() && !nativePath.contains('\0')) {
        QByteArray path = cleanFolderPath(nativePath);
        for (;;) {
            if (isFolder(path))
                return path;
            if (path == "/")
                break;
            const qsizetype slash = path.lastIndexOf('/');
            path.truncate(slash > 0 ? slash : 1);
        }
    }
    return cleanFolderPath(QFile::encodeName(defaultFolder()));
}

QString nearestExistingFolder(const QString &path)
{
    return QFile::decodeName(nearestExistingFolderPath(QFile::encodeName(path)));
}

} // namespace qm
