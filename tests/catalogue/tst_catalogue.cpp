#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/linegeometry.h"
#include "catalogue/previewarea.h"
#include "catalogue/printrun.h"
#include "catalogue/testtarget.h"
#include "catalogue/textmeasure.h"
#include "catalogue/writerhost.h"
#include "platform/datetext.h"
#include "platform/twips.h"
#include "writerfakes.h"

#include <QDateTime>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

/// A4 paper in twips with the default margins: a print width of 7370.
CatalogueState a4State()
{
    CatalogueState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    return state;
}

// One writer run on the fixed-metric target, with everything it reports written down.
struct Run
{
    CatalogueState state = a4State();
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;

    void write(const CatalogueSource &source)
    {
        PrintRun printing(state, nullptr);
        CatalogueWriter(state, source, viewport, host)
            .writePreview(target, state.printMode ? &printing : nullptr);
    }
};

struct PreviewCase
{
    int pageWidth;
    qint64 entries, width, height, horizontalMaximum, verticalMaximum;
};
struct CutCase
{
    double charWidth;
    bool atStart;
    QString text;
    int limit, fit;
    QString expected;
};

void printAt(PreviewPicture &picture, double x, double y, const QString &text)
{
    picture.setCurrentX(x);
    picture.setCurrentY(y);
    picture.print(text);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};
} // namespace

Q_DECLARE_METATYPE(PreviewCase)
Q_DECLARE_METATYPE(CutCase)

class tst_Catalogue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void leadingRoundsHalfToEven_data();
    void leadingRoundsHalfToEven();
    void pageCount_data();
    void pageCount();
    void previewGeometry_data();
    void previewGeometry();
    void cut_data();
    void cut();
    void displayLine_data();
    void displayLine();
    void emptyListOnlyClears_data();
    void emptyListOnlyClears();
    void wholePreviewAsText();
    void walk_data();
    void walk();
    void redrawReplaces_data();
    void redrawReplaces();
    void visibleItems_data();
    void visibleItems();
    void boundedMemoryPerLine();
    void scrollHandlers_data();
    void scrollHandlers();
    void previewShowsTheFirstScreenfulWhileDrawing();
    void measuresAsAWhole_data();
    void measuresAsAWhole();
    void fontSizeKeptInRange_data();
    void fontSizeKeptInRange();
    void truncationLimitsNeverOverflow_data();
    void truncationLimitsNeverOverflow();
};

void tst_Catalogue::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(screenTwipsPerPixel(), 15.0); // the offscreen screen has 96 DPI
}

void tst_Catalogue::leadingRoundsHalfToEven_data()
{
    QTest::addColumn<double>("textHeight");
    QTest::addColumn<int>("lineHeight");
    QTest::newRow("leading of 20.5 rounds to 20") << 205.0 << 226;
    QTest::newRow("height of 200.5 rounds to 200 first") << 200.5 << 220;
}

void tst_Catalogue::leadingRoundsHalfToEven()
{
    QFETCH(double, textHeight);
    QFETCH(int, lineHeight);
    TestTarget target(100, textHeight);
    CatalogueState state = a4State();
    lineParameters(target, state);
    QCOMPARE(state.metrics.lineHeight, lineHeight);
}

void tst_Catalogue::pageCount_data()
{
    QTest::addColumn<qint64>("lines");
    QTest::addColumn<qint64>("lineHeight");
    QTest::addColumn<qint64>("printHeight");
    QTest::addColumn<qint64>("pages");
    auto row = [](const char *tag, qint64 lines, qint64 height, qint64 print, qint64 pages) {
        QTest::newRow(tag) << lines << height << print << pages;
    };
    row("exactly two print heights", 20, 220, 2200, 2);
    row("one line more than two", 21, 220, 2200, 3);
    row("last line reaching into the margin stays on its page", 11, 220, 2300, 1);
    row("one line past that starts a page", 12, 220, 2300, 2);
    row("nothing to print", 0, 220, 14570, 0);
    row("beyond 16 and 32 bits", 20'000'000, 220, 14570, 298508);
    row("margins leave no print height: a page per line", 10, 220, 0, 10);
    row("a font without height: one page", 10, 0, 14570, 1);
}

void tst_Catalogue::pageCount()
{
    QFETCH(qint64, lines);
    QFETCH(qint64, lineHeight);
    QFETCH(qint64, printHeight);
    QFETCH(qint64, pages);
    QCOMPARE(qm::pageCount(lines, lineHeight, printHeight), pages);
}

void tst_Catalogue::previewGeometry_data()
{
    QTest::addColumn<PreviewCase>("c");
    // Print width = page width - 4536; line height 220, column gap 98; the window's inside is
    // 7515 x 2355, its outside height 2415.
    QTest::newRow("narrow: the window's inside, still 10 to scroll")
        << PreviewCase { 11906, 3, 7515, 2415, 10, 2 };
    QTest::newRow("print width equal to the window: its inside")
        << PreviewCase { 12111, 3, 7515, 2415, 10, 2 };
    QTest::newRow("one twip wider than the window: 400 more")
        << PreviewCase { 12112, 3, 7976, 2415, 15, 2 };
    QTest::newRow("deeper than the window") << PreviewCase { 11906, 11, 7515, 2420, 10, 2 };
    QTest::newRow("a million lines")
        << PreviewCase { 11906, 1'000'000, 7515, 220'000'000, 10, 999'991 };
}

void tst_Catalogue::previewGeometry()
{
    QFETCH(PreviewCase, c);
    TestTarget target;
    FakeViewport viewport;
    CatalogueState state = a4State();
    state.pageWidth = c.pageWidth;
    pageParameters(target, state, c.entries, viewport);
    // 65 characters of 100 twips over 66, and 200 twips of text with a tenth more.
    QCOMPARE(state.metrics.columnGap, 98);
    QCOMPARE(state.metrics.lineHeight, 220);
    // A page step keeps three columns and two lines of the last view: 77 and 11 fit.
    const PageGeometry g
        = pageGeometry(state, state.metrics, c.entries, { 7575, 2415, 7515, 2355 });
    QCOMPARE(g.horizontalPageStep, 74);
    QCOMPARE(g.verticalPageStep, 9);
    QCOMPARE(target.width(), c.width);
    QCOMPARE(target.height(), c.height);
    QCOMPARE(viewport.horizontalMaximum, c.horizontalMaximum);
    QCOMPARE(viewport.verticalMaximum, c.verticalMaximum);
}

void tst_Catalogue::cut_data()
{
    QTest::addColumn<CutCase>("c");
    auto row = [](const char *tag, const CutCase &c) {
        QTest::newRow(tag) << c;
    };
    const QString name = u"alpha.txt"_s; // 9 characters
    const QString size = u"1,234,567"_s;
    row("exactly as wide as the limit", { 100, false, name, 900, 704, name });
    row("one twip wider than the limit", { 100, false, name, 899, 703, u"alpha.t... "_s });
    row("width taken to a whole twip first", { 100.05, false, name, 900, 704, name });
    row("just over half a twip wider", { 100.06, false, name, 900, 704, u"alpha.t... "_s });
    row("at least one character goes", { 100, false, name, 899, 5000, u"alpha.tx... "_s });
    row("stops below the fit, not at it", { 100, false, name, 899, 700, u"alpha.... "_s });
    row("column too narrow for anything", { 100, false, name, 0, -196, u"... "_s });
    row("a character outside the BMP goes whole",
        { 100, false, u"ab\U0001F600"_s, 250, 250, u"ab... "_s });
    row("empty text in a negative column", { 100, false, QString(), -98, -196, u"... "_s });
    row("cut size keeps its rightmost digits", { 100, true, size, 700, 600, u"...4,567"_s });
    row("cut size loses at least one character", { 100, true, size, 899, 5000, u"...,234,567"_s });
    row("size column too narrow for anything", { 100, true, size, -98, -196, u"..."_s });
}

void tst_Catalogue::cut()
{
    QFETCH(CutCase, c);
    TestTarget target(c.charWidth);
    QCOMPARE(c.atStart ? cutAtStart(c.text, target, c.limit, c.fit, u"...")
                       : cutAtEnd(c.text, target, c.limit, c.fit, u"... "),
             c.expected);
}

void tst_Catalogue::displayLine_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("dateText");
    // Name column 100..3100, size column to 4600, then the date column; both right-aligned.
    QTest::newRow("midnight: date and 00:00:00")
        << QTime(0, 0) << u"text 5300,440 \"12/6/26   00:00:00\""_s;
    QTest::newRow("unconvertible time: empty date form")
        << QTime() << u"text 5200,440 \"  /  /     00:00:00\""_s;
}

void tst_Catalogue::displayLine()
{
    QFETCH(QTime, time);
    FakeSource source;
    source.add(u"zulu"_s, 1, 0);
    source.add(u"alpha.txt"_s, 1234567,
               time.isValid() ? QDateTime(QDate(2026, 12, 6), time, Qt::UTC).toSecsSinceEpoch()
                              : std::numeric_limits<qint64>::max());
    LineMetrics metrics;
    metrics.columnGap = 98;
    metrics.lineLeft = 100;
    metrics.nameWidth = 3000;
    metrics.sizeWidth = 1500;
    metrics.dateWidth = 2500;
    setTruncationLimits(metrics);
    TestTarget target;
    DateTimeFormatter dates;
    qm::displayLine(1, 440, target, source, metrics, dates);
    QFETCH(QString, dateText);
    QCOMPARE(target.calls(),
             (QStringList { u"text 100,440 \"alpha.txt\""_s, u"text 3700,440 \"1,234,567\""_s,
                            dateText }));
}

void tst_Catalogue::emptyListOnlyClears_data()
{
    QTest::addColumn<bool>("printing");
    QTest::addColumn<QStringList>("targetCalls");
    QTest::newRow("preview clears") << false << QStringList { u"cls"_s };
    QTest::newRow("printer untouched") << true << QStringList {};
}

void tst_Catalogue::emptyListOnlyClears()
{
    QFETCH(bool, printing);
    QFETCH(QStringList, targetCalls);
    Run run;
    run.state.printMode = printing;
    run.state.selection = { 2, 3, true, 2 };
    run.write(FakeSource());

    QCOMPARE(run.target.calls(), targetCalls); // no page opened, no head printed
    QVERIFY(run.host.calls.isEmpty());
    QVERIFY(!run.state.previewReady);
    QVERIFY(run.state.selection.selectionMade);
}

void tst_Catalogue::wholePreviewAsText()
{
    Run run;
    FakeSource source;
    source.add(u"alpha.txt"_s, 12, Afternoon);
    source.add(u"a name far too long for its column.txt"_s, 1234567, Afternoon);
    source.addVanished(u"gone.txt"_s);
    run.write(source);

    // Name column 100..4522 (limit 4422, fit 4226), size column to 5628, date column to
    // 7470 (limit 1744, fit 1646): at 100 twips a character the time loses its end.
    QCOMPARE(run.target.calls().mid(7, 3),
             (QStringList { u"width 7515"_s, u"height 2415"_s, u"cls"_s }));
    QCOMPARE(
        run.target.calls().mid(10),
        (QStringList { u"text 100,0 \"alpha.txt\""_s, u"text 5428,0 \"12\""_s,
                       u"text 5470,0 \"12/6/26   1:04:0... \""_s,
                       u"text 100,220 \"a name far too long for its column.txt\""_s,
                       u"text 4728,220 \"1,234,567\""_s,
                       u"text 5470,220 \"12/6/26   1:04:0... \""_s, u"text 100,440 \"gone.txt\""_s,
                       u"text 5628,440 \"\""_s, u"text 5470,440 \"  /  /     00:00... \""_s }));
    QVERIFY(run.state.previewReady);
}

void tst_Catalogue::walk_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QList<int>>("meter");
    QTest::addColumn<int>("textsBeforeRefresh");

    // The refresh depth 2355 + 2 × 220 = 2795 is passed after the 13th line (2860).
    QTest::newRow("one file: meter only emptied, shown when idle") << 1 << QList<int> {} << -1;
    QTest::newRow("ten files: meter at 10 to 90")
        << 10 << QList<int> { 10, 20, 30, 40, 50, 60, 70, 80, 90 } << -1;
    QList<int> marks;
    for (int percent = 6; percent <= 99; percent += 5) // first above 5, then above each mark
        marks << percent;
    QTest::newRow("a hundred files: once past each mark, refreshed once after line 13")
        << 100 << marks << 39;
}

void tst_Catalogue::walk()
{
    QFETCH(int, files);
    QFETCH(QList<int>, meter);
    QFETCH(int, textsBeforeRefresh);
    Run run;
    run.state.selection = { 1, 2, true, 1 };
    run.write(filesNamed(files));

    QStringList expected { u"busy 1"_s, u"status \"Writing\""_s, u"commands previewed"_s };
    for (const int percent : meter)
        expected << u"meter 2 #800080 #c0c0c0 %1"_s.arg(percent);
    expected << u"meter 0 #800080 #c0c0c0 0"_s << u"status \"\""_s << u"busy 0"_s;
    QCOMPARE(run.host.calls, expected);
    QCOMPARE(run.state.selection.selFirst, -1);
    QVERIFY(!run.state.selection.selectionMade);
    QVERIFY(run.state.previewReady);

    const QStringList drawn = run.target.calls();
    QCOMPARE(drawn.count(u"refresh"_s), textsBeforeRefresh < 0 ? 0 : 1);
    if (textsBeforeRefresh >= 0) {
        const QStringList before = drawn.mid(0, drawn.indexOf(u"refresh"_s));
        QCOMPARE(before.filter(QRegularExpression(u"^text "_s)).size(), textsBeforeRefresh);
    }
}

void tst_Catalogue::redrawReplaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("same text") << u"alpha.txt"_s;
    QTest::newRow("shorter text") << u"al"_s;
    QTest::newRow("longer, outside ASCII and the BMP") << u"na\u00efve \u2713 \U0001F600.txt"_s;
}

void tst_Catalogue::redrawReplaces()
{
    QFETCH(QString, text);
    PreviewPicture picture;
    for (int line = 0; line < 3; ++line)
        printAt(picture, 100, line * 220, u"alpha.txt"_s);
    // Highlight and unhighlight many times over, as selecting lines does.
    qint64 memory = 0;
    for (int i = 0; i < 1000; ++i) {
        picture.setForeColor(i % 2 ? 0x0000FF : 0x000000);
        printAt(picture, 100, 220, text);
        memory = i == 1 ? picture.memoryBytes() : memory;
    }
    QCOMPARE(picture.itemCount(), 3);
    QCOMPARE(picture.item(1).text, text);
    QCOMPARE(picture.item(1).colour, QColor(255, 0, 0));
    QCOMPARE(picture.item(2).text, u"alpha.txt"_s);
    QVERIFY(picture.memoryBytes() <= memory);
}

void tst_Catalogue::visibleItems_data()
{
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QRect>("exposed");
    QTest::addColumn<QStringList>("expected");

    // Lines every 300 twips (20 pixels), each text about 14 pixels tall; columns at x = 100
    // and 3000 twips (7 and 200 pixels).
    QTest::newRow("first rows") << qint64(0) << QRect(0, 0, 500, 30)
                                << QStringList { u"a0"_s, u"b0"_s, u"a1"_s, u"b1"_s };
    QTest::newRow("gap between lines touches nothing")
        << qint64(0) << QRect(0, 16, 500, 3) << QStringList {};
    QTest::newRow("a text's last pixel row")
        << qint64(0) << QRect(0, 13, 500, 1) << QStringList { u"a0"_s, u"b0"_s };
    QTest::newRow("scrolled far down, narrow strip on the left")
        << qint64(-30000) << QRect(0, 0, 150, 30) << QStringList { u"a100"_s, u"a101"_s };
    QTest::newRow("strip right of a text's start keeps it")
        << qint64(0) << QRect(300, 0, 50, 10) << QStringList { u"a0"_s, u"b0"_s };
}

void tst_Catalogue::visibleItems()
{
    QFETCH(qint64, top);
    QFETCH(QRect, exposed);
    QFETCH(QStringList, expected);
    PreviewPicture picture;
    picture.setFontName(u"Arial"_s);
    picture.setFontSize(10);
    for (int line = 0; line < 200; ++line) {
        printAt(picture, 100, line * 300, u"a%1"_s.arg(line));
        printAt(picture, 3000, line * 300, u"b%1"_s.arg(line));
    }
    picture.setTop(top);
    QStringList found;
    for (const qint64 index : picture.itemsIn(exposed))
        found << picture.item(index).text;
    QCOMPARE(found, expected);
}

void tst_Catalogue::boundedMemoryPerLine()
{
    FakeSource source;
    const qint64 modified
        = QDateTime(QDate(2025, 3, 14), QTime(9, 26, 53), Qt::UTC).toSecsSinceEpoch();
    const int lines = 20000;
    for (int i = 0; i < lines; ++i)
        source.add(u"IMG_%1 holiday photo.jpeg"_s.arg(i, 5, 10, QLatin1Char('0')), 1000 * i + 7,
                   modified + i * 37);
    CatalogueState state = a4State();
    FakeViewport viewport;
    RecordingHost host;
    PreviewPicture picture;
    CatalogueWriter(state, source, viewport, host).writePreview(picture);
    QCOMPARE(picture.itemCount(), 3 * lines);
    const double perLine = double(picture.memoryBytes()) / lines;
    QVERIFY2(perLine <= 200, qPrintable(u"%1 bytes per line"_s.arg(perLine)));
    picture.cls();
    QVERIFY(picture.memoryBytes() < 4096);
}

void tst_Catalogue::scrollHandlers_data()
{
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("steps");
    QTest::addColumn<qint64>("left");
    QTest::addColumn<qint64>("top");

    // Steps of 98 and 220 twips; the picture is 9000 × 5000 twips.
    QTest::newRow("before any preview: steps of 0") << 0 << 500 << qint64(0) << qint64(0);
    QTest::newRow("just inside the picture") << 98 << 22 << qint64(-2156) << qint64(-4840);
    QTest::newRow("beyond: clamped to the picture's height")
        << 98 << 23 << qint64(-2254) << qint64(-5000);
    QTest::newRow("far beyond: clamped to both") << 98 << 500 << qint64(-9000) << qint64(-5000);
}

void tst_Catalogue::scrollHandlers()
{
    QFETCH(int, gap);
    QFETCH(int, steps);
    QFETCH(qint64, left);
    QFETCH(qint64, top);
    QWidget window;
    LineMetrics metrics;
    metrics.columnGap = gap;
    metrics.lineHeight = gap ? 220 : 0;
    PreviewArea area(&window, metrics);
    area.picture().setWidth(9000);
    area.picture().setHeight(5000);
    area.setScrollMaximum(Qt::Horizontal, 500);
    area.setScrollMaximum(Qt::Vertical, 500);
    area.horizontalBar()->setValue(steps);
    area.verticalBar()->setValue(steps);
    QCOMPARE(area.picture().left(), left);
    QCOMPARE(area.picture().top(), top);

    area.resetScroll();
    QCOMPARE(area.verticalBar()->value(), 0);
    QCOMPARE(area.picture().left(), 0);
    QCOMPARE(area.picture().top(), 0);
}

void tst_Catalogue::previewShowsTheFirstScreenfulWhileDrawing()
{
    QWidget window;
    CatalogueState state = a4State();
    PreviewArea area(&window, state.metrics);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    FakeSource source;
    for (int i = 0; i < 1000; ++i)
        source.add(u"file%1.txt"_s.arg(i), i, 1'700'000'000 + i);
    RecordingHost host;
    PaintCounter counter;
    area.view()->installEventFilter(&counter);
    CatalogueWriter(state, source, area, host).writePreview(area.picture());
    // Painted while the writer ran, before any event was handled.
    QCOMPARE(counter.paints, 1);
    QCOMPARE(area.picture().itemCount(), 3000);
}

void tst_Catalogue::measuresAsAWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("pairs a kerning font would close up") << u"AVAVA To Wa 1111 Yo"_s;
    QTest::newRow("combining marks") << u"e\u0301le\u0300ve"_s;
    QTest::newRow("CJK falls back to another face") << u"\u5199\u771f 2026.jpg"_s;
    QTest::newRow("outside the BMP") << u"smile \U0001F600.png"_s;
}

void tst_Catalogue::measuresAsAWhole()
{
    QFETCH(QString, text);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    // The catalogue's own font (bold, a fractional size) and one set up elsewhere with kerning,
    // on the screen and on the printer; twice, the second time from the kept advances.
    for (const QPaintDevice *device :
         std::initializer_list<const QPaintDevice *> { nullptr, &printer }) {
        for (const QFont &font : { outputFont(u"Arial"_s, 8.25, true, false, false, false),
                                   QFont(u"Courier New"_s, 10) }) {
            const TextMeasure measure(font, device);
            const QFontMetricsF metrics
                = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
            QCOMPARE(measure.horizontalAdvance(text), metrics.horizontalAdvance(text));
            QCOMPARE(measure.horizontalAdvance(text), metrics.horizontalAdvance(text));
            QCOMPARE(measure.height(), metrics.height());
        }
    }
}

void tst_Catalogue::fontSizeKeptInRange_data()
{
    QTest::addColumn<double>("asked");
    QTest::addColumn<double>("given");
    QTest::newRow("fraction kept") << 8.25 << 8.25;
    QTest::newRow("negative") << -12.0 << 1.0;
    QTest::newRow("absurdly large") << 1e9 << 2048.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1.0;
}

void tst_Catalogue::fontSizeKeptInRange()
{
    QFETCH(double, asked);
    QFETCH(double, given);
    QCOMPARE(outputFont(u"Arial"_s, asked, false, false, false, false).pointSizeF(), given);
}

void tst_Catalogue::truncationLimitsNeverOverflow_data()
{
    QTest::addColumn<int>("width"); // all three columns
    QTest::addColumn<int>("gap");
    QTest::addColumn<QList<int>>("limits"); // name limit and fit, size limit and fit
    constexpr int lowest = std::numeric_limits<int>::min();
    constexpr int highest = std::numeric_limits<int>::max();
    QTest::newRow("ordinary column") << 1500 << 98 << QList<int> { 1500, 1304, 1402, 1304 };
    QTest::newRow("column narrower than two gaps") << 150 << 98 << QList<int> { 150, -46, 52, -46 };
    QTest::newRow("lowest width stays lowest")
        << lowest << 98 << QList<int> { lowest, lowest, lowest, lowest };
    QTest::newRow("one gap from the lowest")
        << lowest + 98 << 98 << QList<int> { lowest + 98, lowest, lowest, lowest };
    QTest::newRow("highest width, huge gap")
        << highest << highest << QList<int> { highest, -highest, 0, -highest };
}

void tst_Catalogue::truncationLimitsNeverOverflow()
{
    QFETCH(int, width);
    QFETCH(int, gap);
    QFETCH(QList<int>, limits);
    LineMetrics metrics;
    metrics.nameWidth = metrics.sizeWidth = metrics.dateWidth = width;
    metrics.columnGap = gap;
    setTruncationLimits(metrics);
    QCOMPARE(
        (QList<int> { metrics.nameLimit, metrics.nameFit, metrics.sizeLimit, metrics.sizeFit }),
        limits);
    QCOMPARE(metrics.dateLimit, metrics.sizeLimit);
    QCOMPARE(metrics.dateFit, metrics.sizeFit);
}

QTEST_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
