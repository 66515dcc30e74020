#pragma once

#include "catalogue/measuredtarget.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QRect;

namespace qm {

/// The preview's drawing: a recorded list of texts, each with its place (twips) and a style
/// (font and colour) from a small table, never a bitmap of the whole catalogue. Texts are
/// kept as UTF-8 in one arena, so a catalogue line costs about a hundred bytes. Drawing a
/// text where one already stands (same x and y) replaces it, so lines redrawn in another
/// colour over themselves never pile up. The viewing window paints the visible part at
/// the picture's Left/Top offset.
class PreviewPicture : public MeasuredTarget
{
public:
    /// One recorded text, for inspection.
    struct Item
    {
        double x = 0;
        double y = 0;
        QString text;
        QFont font;
        QColor colour;
    };

    PreviewPicture();
    ~PreviewPicture() override;

    /// Place of the picture's top-left corner inside the viewing window: zero or negative.
    qint64 left() const { return m_left; }
    qint64 top() const { return m_top; }
    void setLeft(qint64 twips);
    void setTop(qint64 twips);

    /// Called by refresh(): the view repaints at once, so the first screenful is seen while
    /// the catalogue is still being drawn.
    void setRefreshHandler(std::function<void()> handler) { m_refresh = std::move(handler); }
    /// Called once after a change until the next paint(): the view schedules a repaint.
    void setUpdateHandler(std::function<void()> handler) { m_update = std::move(handler); }

    qint64 itemCount() const { return qint64(m_ys.size()); }
    Item item(qint64 index) const;
    /// Items whose line box meets \a exposedPixels, given in pixels of the viewing window's
    /// inner area, in drawing order. Found by halving on y: the cost does not grow with the
    /// length of the catalogue.
    std::vector<qint64> itemsIn(const QRect &exposedPixels) const;
    /// Paints those items; \a painter's origin is the top-left corner of the inner area.
    void paint(QPainter &painter, const QRect &exposedPixels) const;
    /// Bytes held for the recording, reserved space included.
    qint64 memoryBytes() const;

    /// Shows the texts whose top lies from \a top down to before \a bottom (twips, the picture's
    /// own coordinates) in \a colour (&H00BBGGRR) instead of their own: a highlight over any
    /// number of lines costs no more than painting what is visible. cls() takes it away.
    void setHighlight(double top, double bottom, qint32 colour);
    void clearHighlight();

    /// Redraws a whole row: until endRowRewrite(), the texts printed at \a y take the places
    /// of the texts recorded there, in order, whatever their x; any left over are emptied. A
    /// line drawn again thus replaces itself even when its texts moved (a size that changed).
    void beginRowRewrite(double y);
    void endRowRewrite();

    void cls() override;
    void refresh() override;
    void newPage() override { }
    void endDoc() override { }

protected:
    void changed(Change change) override;
    void drawText(double x, double y, const QString &text) override;

private:
    struct Style
    {
        QFont font;
        QColor colour;
        qint32 bgr = 0;
        double heightTwips = 0;
        double ascentPixels = 0;
    };
    // Kept apart from the y values so that the search by y runs over one dense array.
    struct Record
    {
        float x;
        quint32 offset;
        quint16 length;
        quint16 style;
    };

    quint16 currentStyle();
    void record(double x, double y, const QString &text);
    void storeText(Record &record, const QString &text);
    void compactText();
    void needsPaint();
    std::pair<size_t, size_t> rowRange(const QRect &exposedPixels) const;
    const QColor &shownColour(size_t index) const;
    QString textOf(const Record &record) const;

    std::vector<double> m_ys;
    std::vector<Record> m_records;
    std::vector<char> m_text;
    QByteArray m_scratch; // a text being stored, as UTF-8
    qint64 m_garbage = 0; // arena bytes no record points to any more
    std::vector<Style> m_styles;
    int m_style = -1;
    double m_tallest = 0; // twips, tallest style in use

    qint64 m_left = 0;
    qint64 m_top = 0;

    struct RowRewrite
    {
        bool active = false;
        double y = 0;
        size_t next = 0;
        size_t end = 0;
    };
    RowRewrite m_rewrite;

    struct Highlight
    {
        double top = 0;
        double bottom = 0; // none while not below top
        QColor colour;
    };
    Highlight m_highlight;

    std::function<void()> m_refresh;
    std::function<void()> m_update;
    mutable bool m_updatePending = false;
};

} // namespace qm
