#include "platform/helppage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace qm {

QString installedHelpPage(const QString &programFolder)
{
    if (programFolder.isEmpty())
        return {};
    // The relative path from the bin folder to the data folder, fixed when the build is
    // configured, so the installed tree can be moved as a whole.
    const QString page = QDir::cleanPath(
        QDir(programFolder).filePath(QStringLiteral(QUILLMARK_DATA_FROM_BIN "/quillmark.html")));
    return QFileInfo(page).isFile() ? page : QString();
}

QString installedHelpPage()
{
    return installedHelpPage(QCoreApplication::applicationDirPath());
}

} // namespace qm
