#pragma once

#include <QString>

namespace qm {

/// The help page installed with a program that lives in \a programFolder: the data folder
/// beside its bin folder (share/quillmark/quillmark.html), which is also where the build puts
/// a copy for the program in the build folder. Empty when there is no such file.
QString installedHelpPage(const QString &programFolder);

/// The same for the running program.
QString installedHelpPage();

} // namespace qm
