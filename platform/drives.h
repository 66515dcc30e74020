#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qm {

/// Root paths of the mounted, ready, real file systems: "/" first, the rest sorted.
/// Kernel and runtime file systems (proc, sysfs, cgroups, devices, /run) are left out.
QStringList drives();

/// The longest root in \a roots that contains \a path ("/" when none does).
QString driveOf(const QString &path, const QStringList &roots);
/// The drive that holds \a path.
QString driveOf(const QString &path);

/// The folder shown when none is stored: the user's home folder.
QString defaultFolder();

/// \a path made absolute with "." and ".." and doubled separators removed; "/" stays "/".
QByteArray cleanFolderPath(const QByteArray &nativePath);

/// \a path itself when it is an existing folder (readable or not), else its nearest
/// existing parent, else the default folder.
QString nearestExistingFolder(const QString &path);
QByteArray nearestExistingFolderPath(const QByteArray &nativePath);

} // namespace qm
