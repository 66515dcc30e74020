#include "preview/previewpicture.h"

#include "catalogue/textmeasure.h"
#include "platform/colour.h"
#include "platform/twips.h"

#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr size_t MaxStyles = std::numeric_limits<quint16>::max();
constexpr size_t MaxTextBytes = std::numeric_limits<quint16>::max();

template<class Vector> void makeRoom(Vector &vector, size_t extra)
{
    // Grow by half rather than double: a million-line preview should not hold twice the
    // memory it needs.
    if (vector.size() + extra > vector.capacity())
        vector.reserve(
            std::max(vector.size() + extra, vector.capacity() + vector.capacity() / 2 + 64));
}

void encodeUtf8(const QString &text, QByteArray &out)
{
    out.resize(text.size());
    char *bytes = out.data();
    const ushort *chars = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (chars[i] >= 0x80) {
            out = text.toUtf8();
            return;
        }
        bytes[i] = char(chars[i]);
    }
}

// The longest start of a UTF-8 text within \a limit bytes that does not split a character.
qsizetype utf8Prefix(const QByteArray &bytes, qsizetype limit)
{
    if (bytes.size() <= limit)
        return bytes.size();
    qsizetype end = limit;
    while (end > 0 && (uchar(bytes.at(end)) & 0xC0) == 0x80)
        --end;
    return end;
}

} // namespace

PreviewPicture::PreviewPicture()
    : MeasuredTarget(nullptr, screenTwipsPerPixel(),
                     TextStyle { CatalogueFont { u"MS Sans Serif"_s, 8.25 }, 0 }, 9855, 4095)
{
}

PreviewPicture::~PreviewPicture() = default;

void PreviewPicture::setLeft(qint64 twips)
{
    if (m_left == twips)
        return;
    m_left = twips;
    needsPaint();
}

void PreviewPicture::setTop(qint64 twips)
{
    if (m_top == twips)
        return;
    m_top = twips;
    needsPaint();
}

PreviewPicture::Item PreviewPicture::item(qint64 index) const
{
    Item out;
    if (index < 0 || index >= itemCount())
        return out;
    const Record &record = m_records[size_t(index)];
    const Style &style = m_styles[record.style];
    out.x = record.x;
    out.y = m_ys[size_t(index)];
    out.text = textOf(record);
    out.font = style.font;
    out.colour = shownColour(size_t(index));
    return out;
}

const QColor &PreviewPicture::shownColour(size_t index) const
{
    const double y = m_ys[index];
    if (y >= m_highlight.top && y < m_highlight.bottom)
        return m_highlight.colour;
    return m_styles[m_records[index].style].colour;
}

void PreviewPicture::setHighlight(double top, double bottom, qint32 colour)
{
    m_highlight = { top, bottom, colourFromBgr(colour) };
    needsPaint();
}

void PreviewPicture::clearHighlight()
{
    if (m_highlight.bottom <= m_highlight.top)
        return;
    m_highlight = {};
    needsPaint();
}

std::pair<size_t, size_t> PreviewPicture::rowRange(const QRect &exposedPixels) const
{
    const double top = exposedPixels.top() * twipsPerDot() - double(m_top) + scaleTop();
    const double bottom = (exposedPixels.bottom() + 1) * twipsPerDot() - double(m_top) + scaleTop();
    const auto first = std::lower_bound(m_ys.begin(), m_ys.end(), top - m_tallest);
    const auto last = std::lower_bound(first, m_ys.end(), bottom);
    return { size_t(first - m_ys.begin()), size_t(last - m_ys.begin()) };
}

std::vector<qint64> PreviewPicture::itemsIn(const QRect &exposedPixels) const
{
    std::vector<qint64> out;
    if (exposedPixels.isEmpty())
        return out;
    const double top = exposedPixels.top() * twipsPerDot() - double(m_top) + scaleTop();
    const double right = (exposedPixels.right() + 1) * twipsPerDot() - double(m_left) + scaleLeft();
    const auto [first, last] = rowRange(exposedPixels);
    for (size_t i = first; i < last; ++i) {
        const Record &record = m_records[i];
        if (m_ys[i] + m_styles[record.style].heightTwips <= top || record.x >= right)
            continue;
        out.push_back(qint64(i));
    }
    return out;
}

void PreviewPicture::paint(QPainter &painter, const QRect &exposedPixels) const
{
    m_updatePending = false;
    int painted = -1;
    std::optional<QColor> pen;
    for (const qint64 index : itemsIn(exposedPixels)) {
        const Record &record = m_records[size_t(index)];
        const Style &style = m_styles[record.style];
        if (record.style != painted) {
            painter.setFont(style.font);
            painted = record.style;
        }
        if (const QColor &colour = shownColour(size_t(index)); pen != colour) {
            painter.setPen(colour);
            pen = colour;
        }
        const double x = (record.x - scaleLeft() + double(m_left)) / twipsPerDot();
        const double y = (m_ys[size_t(index)] - scaleTop() + double(m_top)) / twipsPerDot();
        painter.drawText(QPointF(x, y + style.ascentPixels), textOf(record));
    }
}

qint64 PreviewPicture::memoryBytes() const
{
    return qint64(sizeof(*this)) + qint64(m_ys.capacity() * sizeof(double))
        + qint64(m_records.capacity() * sizeof(Record)) + qint64(m_text.capacity())
        + qint64(m_styles.capacity() * sizeof(Style));
}

void PreviewPicture::changed(Change change)
{
    MeasuredTarget::changed(change);
    if (isFontChange(change) || change == Change::ForeColor)
        m_style = -1; // recorded afresh with the next text
    else
        needsPaint();
}

quint16 PreviewPicture::currentStyle()
{
    if (m_style >= 0)
        return quint16(m_style);
    const TextMeasure &fm = measure();
    const auto found = std::find_if(m_styles.begin(), m_styles.end(), [&](const Style &style) {
        return style.bgr == foreColor() && style.font == fm.font();
    });
    if (found != m_styles.end()) {
        m_style = int(found - m_styles.begin());
    } else {
        Style style;
        style.font = fm.font();
        style.bgr = foreColor();
        style.colour = colourFromBgr(foreColor());
        style.heightTwips = fm.height() * twipsPerDot();
        style.ascentPixels = fm.ascent();
        // A table this full cannot come from a catalogue; the newest style takes the last
        // place rather than overflowing the index.
        if (m_styles.size() >= MaxStyles)
            m_styles.back() = style;
        else
            m_styles.push_back(style);
        m_style = int(m_styles.size() - 1);
    }
    m_tallest = std::max(m_tallest, m_styles[size_t(m_style)].heightTwips);
    return quint16(m_style);
}

QString PreviewPicture::textOf(const Record &record) const
{
    return QString::fromUtf8(m_text.data() + record.offset, record.length);
}

void PreviewPicture::storeText(Record &record, const QString &text)
{
    QByteArray &bytes = m_scratch;
    encodeUtf8(text, bytes);
    const qsizetype length = utf8Prefix(bytes, qsizetype(MaxTextBytes));

    if (record.length > 0 && length == record.length
        && std::memcmp(m_text.data() + record.offset, bytes.constData(), size_t(length)) == 0)
        return; // the same text again: only its style changes
    if (length <= record.length) {
        // Fits where the old text stood.
        std::memcpy(m_text.data() + record.offset, bytes.constData(), size_t(length));
        m_garbage += record.length - length;
        record.length = quint16(length);
        return;
    }
    m_garbage += record.length;
    if (m_garbage > (1 << 20) && m_garbage > qint64(m_text.size() / 2))
        compactText();
    if (m_text.size() + size_t(length) > std::numeric_limits<quint32>::max()) {
        record.length = 0; // beyond what the arena can address: shown empty
        return;
    }
    makeRoom(m_text, size_t(length));
    record.offset = quint32(m_text.size());
    record.length = quint16(length);
    m_text.insert(m_text.end(), bytes.constData(), bytes.constData() + length);
}

void PreviewPicture::compactText()
{
    std::vector<char> packed;
    packed.reserve(m_text.size() - size_t(m_garbage) + 64);
    for (Record &record : m_records) {
        const quint32 offset = quint32(packed.size());
        packed.insert(packed.end(), m_text.begin() + record.offset,
                      m_text.begin() + record.offset + record.length);
        record.offset = offset;
    }
    m_text.swap(packed);
    m_garbage = 0;
}

void PreviewPicture::beginRowRewrite(double y)
{
    endRowRewrite();
    const auto first = std::lower_bound(m_ys.begin(), m_ys.end(), y);
    const auto last = std::upper_bound(first, m_ys.end(), y);
    m_rewrite = { true, y, size_t(first - m_ys.begin()), size_t(last - m_ys.begin()) };
}

void PreviewPicture::endRowRewrite()
{
    if (!m_rewrite.active)
        return;
    for (size_t i = m_rewrite.next; i < m_rewrite.end; ++i)
        storeText(m_records[i], QString());
    // The row stays ordered by x, which finding a text at its place relies on. Texts beyond
    // the old ones were inserted in order, so the row is found afresh.
    const auto first = std::lower_bound(m_ys.begin(), m_ys.end(), m_rewrite.y);
    const auto last = std::upper_bound(first, m_ys.end(), m_rewrite.y);
    std::stable_sort(m_records.begin() + (first - m_ys.begin()),
                     m_records.begin() + (last - m_ys.begin()),
                     [](const Record &a, const Record &b) { return a.x < b.x; });
    m_rewrite = {};
    needsPaint();
}

void PreviewPicture::record(double x, double y, const QString &text)
{
    Record record { float(x), 0, 0, currentStyle() };
    if (m_rewrite.active && y == m_rewrite.y && m_rewrite.next < m_rewrite.end) {
        Record &old = m_records[m_rewrite.next++];
        old.x = record.x;
        old.style = record.style;
        storeText(old, text);
        needsPaint();
        return;
    }
    size_t at = m_ys.size();
    const bool atEnd
        = m_ys.empty() || y > m_ys.back() || (y == m_ys.back() && record.x > m_records.back().x);
    if (!atEnd) {
        at = size_t(std::lower_bound(m_ys.begin(), m_ys.end(), y) - m_ys.begin());
        while (at < m_ys.size() && m_ys[at] == y && m_records[at].x < record.x)
            ++at;
        if (at < m_ys.size() && m_ys[at] == y && m_records[at].x == record.x) {
            m_records[at].style = record.style;
            storeText(m_records[at], text);
            needsPaint();
            return;
        }
    }
    storeText(record, text);
    makeRoom(m_ys, 1);
    makeRoom(m_records, 1);
    m_ys.insert(m_ys.begin() + qptrdiff(at), y);
    m_records.insert(m_records.begin() + qptrdiff(at), record);
    needsPaint();
}

void PreviewPicture::drawText(double x, double y, const QString &text)
{
    if (!text.isEmpty())
        record(x, y, text);
}

void PreviewPicture::cls()
{
    m_rewrite = {};
    m_highlight = {};
    // Give the memory back: the next catalogue may be far shorter.
    std::vector<double>().swap(m_ys);
    std::vector<Record>().swap(m_records);
    std::vector<char>().swap(m_text);
    m_styles.clear();
    m_style = -1;
    m_tallest = 0;
    m_garbage = 0;
    home();
    needsPaint();
}

void PreviewPicture::refresh()
{
    if (m_refresh)
        m_refresh();
}

void PreviewPicture::needsPaint()
{
    if (m_updatePending || !m_update)
        return;
    m_updatePending = true;
    m_update();
}

} // namespace qm
