#include "batch/progressline.h"

#include "platform/numbers.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Back to the start of the line, and everything after it wiped.
constexpr QByteArrayView Wipe = "\r\x1b[K";
constexpr int ReadingIntervalMs = 100;

} // namespace

QString asClause(QString sentence)
{
    sentence = sentence.trimmed();
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toLower();
    if (sentence.endsWith(u'.'))
        sentence.chop(1);
    return sentence;
}

QString summaryLine(qint64 files, quint64 bytes, int pages)
{
    QString line = groupedNumber(files) + (files == 1 ? u" file, "_s : u" files, "_s)
        + groupedNumber(bytes) + (bytes == 1 ? u" byte"_s : u" bytes"_s);
    if (pages >= 0)
        line += u", "_s + groupedNumber(qint64(pages)) + (pages == 1 ? u" page"_s : u" pages"_s);
    return line;
}

ProgressLine::ProgressLine(Sink sink, bool enabled, int columns, int delayMs)
    : m_sink(std::move(sink))
    , m_enabled(enabled && m_sink)
    , m_columns(std::max(columns, 20))
    , m_delayMs(delayMs)
{
    m_started.start();
}

ProgressLine::~ProgressLine()
{
    clear();
}

void ProgressLine::setStatusText(const QString &text)
{
    m_word = text;
    if (text.isEmpty())
        clear();
}

void ProgressLine::drawMeter(int style, const QColor &, const QColor &, int percent)
{
    // The flat meter is the reset at the end of a walk.
    if (style == 0) {
        clear();
        return;
    }
    show(u"%1 %2%"_s.arg(m_word.isEmpty() ? u"Working"_s : m_word).arg(percent));
}

void ProgressLine::reading(const QString &folderText)
{
    if (m_lastReading.isValid() && m_lastReading.elapsed() < ReadingIntervalMs)
        return;
    m_lastReading.start();
    show(u"Reading "_s + (folderText.isEmpty() ? u"."_s : folderText));
}

void ProgressLine::clear()
{
    if (!m_shown)
        return;
    m_shown = false;
    m_sink(Wipe);
}

void ProgressLine::show(const QString &text)
{
    if (!m_enabled || m_started.elapsed() < m_delayMs)
        return;
    // A line longer than the terminal would wrap, and the wipe would reach only its end:
    // a long folder keeps its end, where the walk is.
    QString line = text;
    const int room = m_columns - 1;
    if (line.size() > room)
        line = line.left(8) + u"..."_s + line.right(room - 11);
    m_sink(Wipe);
    m_sink(line.toUtf8());
    m_shown = true;
}

} // namespace qm
