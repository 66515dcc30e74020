#pragma once

#include "catalogue/writerhost.h"

#include <QColor>

#include <optional>

namespace qm {

/// The meter while a long command walks the file list.
inline const QColor MeterBar = QColor(128, 0, 128);
inline const QColor MeterBackground = QColor(192, 192, 192);

/// Puts the pointer, the status panel and the meter back however a long command ends.
/// The meter is emptied flat with \a resetBar as its bar colour.
class RunGuard
{
public:
    RunGuard(WriterHost &host, const QColor &resetBar)
        : m_host(host)
        , m_resetBar(resetBar)
        , m_busy(std::in_place, host)
    {
    }
    RunGuard(const RunGuard &) = delete;
    RunGuard &operator=(const RunGuard &) = delete;
    ~RunGuard()
    {
        if (!m_meterReset)
            resetMeter();
        if (!m_finished)
            finish();
    }

    void resetMeter()
    {
        m_meterReset = true;
        m_host.drawMeter(0, m_resetBar, MeterBackground, 0);
    }
    void finish()
    {
        m_finished = true;
        m_host.setStatusText(QString());
        m_busy.reset();
    }

private:
    WriterHost &m_host;
    QColor m_resetBar;
    bool m_meterReset = false;
    bool m_finished = false;
    std::optional<BusyPointer> m_busy;
};

/// When a walk over the file list redraws the meter: at the first line whose position in the
/// whole list (in single precision, as a whole per cent) passes the next mark of 5, which
/// then moves on by 5, at most once per line.
class MeterSteps
{
public:
    explicit MeterSteps(qint64 listCount)
        : m_sharePerLine(listCount > 0 ? 100.0f / float(listCount) : 0.0f)
    {
    }

    /// The percentage to draw for \a line, or -1 when the meter stays as it is.
    int percentAt(qint64 line)
    {
        const int percent = int(float(line) * m_sharePerLine);
        if (percent <= m_nextMark)
            return -1;
        m_nextMark += Step;
        return percent;
    }

private:
    static constexpr int Step = 5;
    float m_sharePerLine;
    int m_nextMark = Step;
};

} // namespace qm
