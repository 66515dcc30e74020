#pragma once

#include "platform/attributes.h"
#include "saving/textoutputs.h"

#include <QPageSize>
#include <QString>

#include <optional>

namespace qm {

/// Exit statuses of a run: all made, something failed, the command line was wrong.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

/// The most copies --copies takes: a slip of the finger must not print thousands.
inline constexpr int MaxCopies = 999;

/// What a run without the window makes, and of what.
struct BatchOptions
{
    enum class Output {
        Save, ///< a catalogue file (or standard output) in one of the save forms
        PrintPdf, ///< the printed catalogue as a PDF file
        Print, ///< the printed catalogue on a printer
    };
    Output output = Output::Save;
    QString file; // the file saved or printed to; "-" saves to standard output
    QString folder; // absolute and clean
    SaveOptions save;

    QString pattern = QStringLiteral("*.*");
    AttributeSwitches switches; // all on, as the window starts
    bool recursive = false;
    bool quiet = false; // no progress, no summary

    std::optional<QString> header; // printed on every page; the folder when empty or not given
    std::optional<QPageSize::PageSizeId> paper; // the locale's, or the printer's, when not given
    QString printer; // empty: the default printer
    int copies = 1;
};

} // namespace qm
