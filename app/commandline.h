#pragma once

#include "batch/batchoptions.h"

#include <QString>
#include <QStringList>

namespace qm {

/// What the command line asks the program to do.
struct CommandLine
{
    enum class Action {
        Run, ///< open the window, showing folder (or the stored folder when it is empty)
        Print, ///< write text to standard output and end (--help, --version)
        Fail, ///< write text to standard error and end with ExitUsage
        Batch, ///< make the output of batch without a window
    };
    Action action = Action::Run;
    QString folder;
    QString text;
    BatchOptions batch;
};

/// Reads the program's \a arguments (its own name first) as QCoreApplication gives them.
/// A relative folder is taken from \a workingFolder, a file: URL becomes its local path.
/// \a helpPage, when not empty, is named in the --help text. The toolkit's own options
/// (-platform, -style, …) are let through for QApplication. Any output option (--save,
/// --print-pdf, --print) asks for a run without the window.
CommandLine readCommandLine(const QStringList &arguments, const QString &workingFolder,
                            const QString &helpPage = QString());

} // namespace qm
