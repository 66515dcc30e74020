#pragma once

#include "catalogue/writerhost.h"

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace qm {

/// A sentence made a clause to follow "quillmark: cannot …: ": its first letter small, its
/// full stop gone ("Unknown option 'x'." gives "unknown option 'x'").
QString asClause(QString sentence);

/// The summary of a run: "1,234 files, 5,678,901 bytes" with the locale's digit groups, and
/// ", 21 pages" after a print (\a pages not negative).
QString summaryLine(qint64 files, quint64 bytes, int pages = -1);

/// The status word and the meter of a run without the window, as one line on a terminal:
/// "Saving 35%", "Printing 80%", or "Reading photos/2019" while a tree is listed. Nothing
/// shows before the run has taken \a delayMs (a quick run stays quiet), the line is wiped
/// before any message and at the end, and a disabled line writes nothing at all.
class ProgressLine : public WriterHost
{
public:
    using Sink = std::function<void(QByteArrayView bytes)>;

    /// Writes to \a sink, lines cut to \a columns characters.
    ProgressLine(Sink sink, bool enabled, int columns = 80, int delayMs = 500);
    ~ProgressLine() override;

    void setBusy(bool) override { }
    void setStatusText(const QString &text) override;
    void drawMeter(int style, const QColor &bar, const QColor &background, int percent) override;
    void setPreviewedCommands() override { }

    /// The folder a tree walk enters now; shown at most ten times a second.
    void reading(const QString &folderText);
    /// Wipes the line, so that a message can stand on its own.
    void clear();

private:
    void show(const QString &text);

    Sink m_sink;
    bool m_enabled;
    int m_columns;
    int m_delayMs;
    QElapsedTimer m_started;
    QElapsedTimer m_lastReading;
    QString m_word;
    bool m_shown = false;
};

} // namespace qm
