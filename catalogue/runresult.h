#pragma once

#include <QString>
#include <QtGlobal>

namespace qm {

/// How a long command's walk over the file list ended.
struct RunResult
{
    bool stopped = false; // the user stopped it before its last line
    qint64 lines = 0; // lines written
    qint64 vanished = 0; // of those, files gone or unreadable when their line was written

    /// Counts one line written; \a read tells whether its file could be read.
    void count(bool read)
    {
        ++lines;
        if (!read)
            ++vanished;
    }
};

/// What the status panel says after an output whose lines include \a vanished files that
/// were gone or could not be read: "12 files had vanished; their lines have empty fields".
/// Empty when there were none.
QString vanishedText(qint64 vanished);

} // namespace qm
