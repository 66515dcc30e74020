#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/linegeometry.h"
#include "platform/datetext.h"
#include "preview/previewpicture.h"
#include "preview/selection.h"
#include "support/writerfakes.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

// A preview of a few files drawn by the real writer into a real picture.
struct Preview
{
    CatalogueState state;
    FakeSource source;
    FakeViewport viewport;
    PreviewPicture picture;
    RecordingHost host;
    PreviewSelection selection { state, source, picture, host };

    explicit Preview(int files)
        : source(filesNamed(files))
    {
        state.pageWidth = 11906;
        state.pageHeight = 16838;
        state.catalogueFont.name = u"Liberation Sans"_s;
        CatalogueWriter(state, source, viewport, host).writePreview(picture);
        selection.previewDrawn();
    }
    // Presses such as "2 s6 all": a line, after "s" for Shift, "c" Ctrl, "r" the right button;
    // or Select All. True when the last one picked.
    bool press(const QString &presses)
    {
        bool picked = false;
        for (const QString &p : presses.split(u' ')) {
            const QString keys = p.left(p.indexOf(QRegularExpression(u"\\d"_s)));
            const Qt::KeyboardModifiers modifiers
                = (keys.contains(u's') ? Qt::ShiftModifier : Qt::NoModifier)
                | (keys.contains(u'c') ? Qt::ControlModifier : Qt::NoModifier);
            picked = p == u"all"
                ? selection.selectAll()
                : selection.press((p.mid(keys.size()).toDouble() + 0.5) * state.metrics.lineHeight,
                                  keys.contains(u'r') ? Qt::RightButton : Qt::LeftButton,
                                  modifiers);
        }
        return picked;
    }
    QStringList texts(qint64 line) const
    {
        QStringList out;
        for (qint64 i = 0; i < picture.itemCount(); ++i)
            if (qint64(picture.item(i).y) / state.metrics.lineHeight == line)
                out << picture.item(i).text;
        return out;
    }
    // The lines drawn in the highlight colour, as "first-last".
    QString highlighted() const
    {
        QList<qint64> lines;
        for (qint64 i = 0; i < picture.itemCount(); ++i)
            if (picture.item(i).colour == QColor(255, 0, 0))
                lines << qint64(picture.item(i).y) / state.metrics.lineHeight;
        return lines.isEmpty() ? QString() : u"%1-%2"_s.arg(lines.first()).arg(lines.last());
    }
};

} // namespace

class tst_Selection : public QObject
{
    Q_OBJECT

private slots:
    void presses_data();
    void presses();
    void redTextHasABlackHighlight();
    void picksDrawTheFilesAsTheyAreNow();
    void highlightLooksAsLinesDrawnInItsColour_data();
    void highlightLooksAsLinesDrawnInItsColour();
    void picksReadOnlyTheLinesInView_data();
    void picksReadOnlyTheLinesInView();
};

void tst_Selection::presses_data()
{
    // Presses on eight lines.
    QTest::addColumn<QString>("presses");
    QTest::addColumn<QString>("selected"); // and highlighted, nothing else
    QTest::newRow("first press") << u"4"_s << u"4-4"_s;
    QTest::newRow("Shift below") << u"2 s5"_s << u"2-5"_s;
    QTest::newRow("Shift above moves the anchor") << u"5 s2"_s << u"2-5"_s;
    QTest::newRow("Shift above then below runs from the moved anchor") << u"5 s2 s7"_s << u"2-7"_s;
    QTest::newRow("Shift inside a range runs from its first line") << u"2 s6 s4"_s << u"2-4"_s;
    QTest::newRow("plain press elsewhere moves a single line") << u"2 6"_s << u"6-6"_s;
    QTest::newRow("plain press elsewhere ends a range") << u"2 s4 6"_s << u"6-6"_s;
    QTest::newRow("first line of a range") << u"2 s4 2"_s << u"2-2"_s;
    QTest::newRow("Ctrl+Shift is a plain press") << u"2 s5 cs6"_s << u"6-6"_s;
    QTest::newRow("right button picks nothing") << u"r1"_s << QString();
    QTest::newRow("below the last line picks nothing") << u"8"_s << QString();
}

void tst_Selection::presses()
{
    QFETCH(QString, presses);
    QFETCH(QString, selected);
    Preview preview(8);
    const qint64 items = preview.picture.itemCount();
    QCOMPARE(preview.press(presses), !selected.isEmpty());
    QCOMPARE(preview.highlighted(), selected);
    const Selection &s = preview.state.selection;
    QCOMPARE(s.selectionMade ? u"%1-%2"_s.arg(s.selFirst).arg(s.selLast) : QString(), selected);
    QCOMPARE(preview.picture.itemCount(), items); // drawn over themselves
    QCOMPARE(preview.host.calls.count(u"busy 1"_s), preview.host.calls.count(u"busy 0"_s));
}

// So that the pick shows (colours are &H00BBGGRR); black text's red one is the presses'.
void tst_Selection::redTextHasABlackHighlight()
{
    QCOMPARE(highlightColour(0x0000FF), 0x000000);
}

// Redrawn lines are read again; a print run measures the paper afterwards, but picks still
// draw the lines as the preview placed them.
void tst_Selection::picksDrawTheFilesAsTheyAreNow()
{
    Preview preview(3);
    const QStringList first = preview.texts(0);
    preview.state.metrics.nameWidth = preview.state.metrics.nameLimit
        = preview.state.metrics.nameFit = 5;
    preview.source.entries[1].second->size = 98765; // grew since the preview
    QVERIFY(preview.press(u"all"_s));
    QCOMPARE(preview.texts(0), first);
    QCOMPARE(preview.texts(1).value(1), u"98,765"_s);
}

void tst_Selection::highlightLooksAsLinesDrawnInItsColour_data()
{
    // Presses on sixty lines, then the picture scrolled down by some lines.
    QTest::addColumn<QString>("presses");
    QTest::addColumn<int>("scrolledLines");
    QTest::addColumn<QList<qint64>>("selected"); // first, last
    QTest::newRow("Select All") << u"all"_s << 0 << QList<qint64> { 0, 59 };
    QTest::newRow("range from above the view into it")
        << u"2 s25"_s << 20 << QList<qint64> { 2, 25 };
    QTest::newRow("Select All, then one line") << u"all 7"_s << 3 << QList<qint64> { 7, 7 };
}

// The picture painted with its highlight, pixel for pixel, against the same preview whose
// selected lines were drawn once more over themselves in the highlight colour.
void tst_Selection::highlightLooksAsLinesDrawnInItsColour()
{
    QFETCH(QString, presses);
    QFETCH(int, scrolledLines);
    QFETCH(QList<qint64>, selected);
    Preview preview(60);
    QVERIFY(preview.press(presses));
    const int lineHeight = preview.state.metrics.lineHeight;
    preview.picture.setTop(-qint64(scrolledLines) * lineHeight);

    Preview drawn(60);
    drawn.picture.setTop(preview.picture.top());
    DateTimeFormatter dates;
    drawn.picture.setForeColor(highlightColour(drawn.picture.foreColor()));
    for (qint64 line = selected[0]; line <= selected[1]; ++line) {
        drawn.picture.beginRowRewrite(double(line * lineHeight));
        displayLine(line, line * lineHeight, drawn.picture, drawn.source, drawn.state.metrics,
                    dates);
        drawn.picture.endRowRewrite();
    }

    const auto painted = [](const PreviewPicture &picture) {
        QImage image(501, 157, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        picture.paint(painter, image.rect());
        return image;
    };
    const QImage shown = painted(preview.picture);
    QVERIFY(shown != painted(Preview(60).picture)); // the highlight shows
    QCOMPARE(shown, painted(drawn.picture));
}

void tst_Selection::picksReadOnlyTheLinesInView_data()
{
    QTest::addColumn<QString>("presses");
    QTest::newRow("Select All") << u"all"_s;
    QTest::newRow("Shift press to the last line") << u"0 s4999"_s;
    QTest::newRow("a press that ends Select All") << u"all 4000"_s;
}

// However many lines a pick covers, it reads only the files of the lines in view again.
void tst_Selection::picksReadOnlyTheLinesInView()
{
    QFETCH(QString, presses);
    Preview preview(5000);
    preview.picture.setTop(-3900LL * preview.state.metrics.lineHeight);
    const qint64 inView = preview.state.metrics.refreshDepth / preview.state.metrics.lineHeight + 1;
    for (const QString &p : presses.split(u' ')) {
        preview.source.statCalls = 0;
        QVERIFY(preview.press(p));
        QVERIFY2(preview.source.statCalls <= inView,
                 qPrintable(u"%1 files read"_s.arg(preview.source.statCalls)));
    }
    const Selection &s = preview.state.selection;
    QCOMPARE(preview.highlighted(), u"%1-%2"_s.arg(s.selFirst).arg(s.selLast));
}

QTEST_MAIN(tst_Selection)
#include "tst_selection.moc"
