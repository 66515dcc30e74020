#include "app/runstate.h"
#include "catalogue/catalogfakes.h"
#include "catalogue/linegeometry.h"
#include "catalogue/testtarget.h"
#include "platform/datetext.h"

#include <QDateTime>
#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

// A4 paper in twips, with the default margins: a print width of 7370.
RunState a4State()
{
    RunState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    return state;
}

qint64 utc(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
        .toSecsSinceEpoch();
}

} // namespace

class tst_LineGeometry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void lineParametersMeasure_data();
    void lineParametersMeasure();
    void pageCount_data();
    void pageCount();
    void previewWidth_data();
    void previewWidth();
    void previewScrollRanges_data();
    void previewScrollRanges();
    void printerOrigin();
    void printedSelectionCountsItsLines();
    void cutAtEnd_data();
    void cutAtEnd();
    void cutAtStart_data();
    void cutAtStart();
    void displayLine_data();
    void displayLine();
};

void tst_LineGeometry::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_LineGeometry::lineParametersMeasure_data()
{
    QTest::addColumn<double>("charWidth");
    QTest::addColumn<double>("textHeight");
    QTest::addColumn<bool>("printing");
    QTest::addColumn<int>("columnGap");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<int>("lineLeft");

    // The sample has 65 characters but is divided by 66.
    QTest::newRow("gap divides by 66, preview left 100")
        << 100.0 << 200.0 << false << 98 << 220 << 100;
    QTest::newRow("printer left edge 0") << 100.0 << 200.0 << true << 98 << 220 << 0;
    QTest::newRow("leading ends on a half, rounds up to even")
        << 100.0 << 205.0 << false << 98 << 226 << 100;
    QTest::newRow("leading ends on a half, rounds down to even")
        << 100.0 << 215.0 << false << 98 << 236 << 100;
    QTest::newRow("height half rounds to even before the leading")
        << 100.0 << 200.5 << false << 98 << 220 << 100;
    QTest::newRow("gap of a very narrow font") << 1.0 << 10.0 << false << 1 << 11 << 100;
}

void tst_LineGeometry::lineParametersMeasure()
{
    QFETCH(double, charWidth);
    QFETCH(double, textHeight);
    QFETCH(bool, printing);
    QFETCH(int, columnGap);
    QFETCH(int, lineHeight);
    QFETCH(int, lineLeft);

    TestTarget target(charWidth, textHeight);
    RunState state = a4State();
    state.printMode = printing;
    lineParameters(target, state);
    QCOMPARE(state.metrics.columnGap, columnGap);
    QCOMPARE(state.metrics.lineHeight, lineHeight);
    QCOMPARE(state.metrics.lineLeft, lineLeft);
}

void tst_LineGeometry::pageCount_data()
{
    QTest::addColumn<qint64>("depth");
    QTest::addColumn<qint64>("printHeight");
    QTest::addColumn<qint64>("lines");
    QTest::addColumn<qint64>("pages");

    QTest::newRow("exactly two print heights")
        << qint64(29140) << qint64(14570) << qint64(1) << qint64(2);
    QTest::newRow("one twip more than two")
        << qint64(29141) << qint64(14570) << qint64(1) << qint64(3);
    QTest::newRow("one twip less than two")
        << qint64(29139) << qint64(14570) << qint64(1) << qint64(2);
    QTest::newRow("less than a page") << qint64(220) << qint64(14570) << qint64(1) << qint64(1);
    QTest::newRow("nothing to print") << qint64(0) << qint64(14570) << qint64(0) << qint64(0);
    QTest::newRow("beyond 16 and 32 bits")
        << qint64(220) * 20'000'000 << qint64(14570) << qint64(20'000'000) << qint64(301991);
    QTest::newRow("margins leave no print height: a page per line")
        << qint64(2200) << qint64(0) << qint64(10) << qint64(10);
    QTest::newRow("negative print height: a page per line")
        << qint64(2200) << qint64(-5) << qint64(10) << qint64(10);
}

void tst_LineGeometry::pageCount()
{
    QFETCH(qint64, depth);
    QFETCH(qint64, printHeight);
    QFETCH(qint64, lines);
    QFETCH(qint64, pages);
    QCOMPARE(qm::pageCount(depth, printHeight, lines), pages);
}

void tst_LineGeometry::previewWidth_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<qint64>("pictureWidth");
    QTest::addColumn<int>("nameWidth");
    QTest::addColumn<int>("sizeWidth");
    QTest::addColumn<int>("dateWidth");

    // Print width = page width - 4536 (two margins of 2268).
    QTest::newRow("A4: inside of the viewing window")
        << 11906 << qint64(7515) << 4422 << 1106 << 1842;
    QTest::newRow("print width equal to the window: inside")
        << 12111 << qint64(7515) << 4545 << 1136 << 1894;
    QTest::newRow("one twip wider than the window: 400 more")
        << 12112 << qint64(7976) << 4546 << 1136 << 1894;
    QTest::newRow("A3 landscape") << 23811 << qint64(19675) << 11565 << 2891 << 4819;
}

void tst_LineGeometry::previewWidth()
{
    QFETCH(int, pageWidth);
    QFETCH(qint64, pictureWidth);
    QFETCH(int, nameWidth);
    QFETCH(int, sizeWidth);
    QFETCH(int, dateWidth);

    TestTarget target;
    FakeViewport viewport;
    RunState state = a4State();
    state.pageWidth = pageWidth;
    pageParameters(target, state, 3, viewport);
    QCOMPARE(target.width(), pictureWidth);
    QCOMPARE(state.metrics.nameWidth, nameWidth);
    QCOMPARE(state.metrics.sizeWidth, sizeWidth);
    QCOMPARE(state.metrics.dateWidth, dateWidth);
    QCOMPARE(state.metrics.printHeight, 16838 - 2268);
}

void tst_LineGeometry::previewScrollRanges_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<qint64>("entries");
    QTest::addColumn<qint64>("pictureHeight");
    QTest::addColumn<qint64>("horizontalMaximum");
    QTest::addColumn<qint64>("verticalMaximum");

    // Line height 220, column gap 98, window inside 7515 × 2355, outside height 2415.
    QTest::newRow("narrow catalogue still gets 10 columns")
        << 11906 << qint64(3) << qint64(2415) << qint64(10) << qint64(2);
    QTest::newRow("wide catalogue")
        << 23811 << qint64(3) << qint64(2415) << qint64(134) << qint64(2);
    QTest::newRow("shallower than the window: the window's height")
        << 11906 << qint64(10) << qint64(2415) << qint64(10) << qint64(2);
    QTest::newRow("deeper than the window")
        << 11906 << qint64(11) << qint64(2420) << qint64(10) << qint64(2);
    QTest::newRow("a million lines")
        << 11906 << qint64(1'000'000) << qint64(220'000'000) << qint64(10) << qint64(999'991);
}

void tst_LineGeometry::previewScrollRanges()
{
    QFETCH(int, pageWidth);
    QFETCH(qint64, entries);
    QFETCH(qint64, pictureHeight);
    QFETCH(qint64, horizontalMaximum);
    QFETCH(qint64, verticalMaximum);

    TestTarget target;
    FakeViewport viewport;
    viewport.horizontal.minimum = 5;
    viewport.vertical.minimum = 5;
    RunState state = a4State();
    state.pageWidth = pageWidth;
    pageParameters(target, state, entries, viewport);

    QCOMPARE(target.height(), pictureHeight);
    QCOMPARE(viewport.horizontal.maximum, horizontalMaximum);
    QCOMPARE(viewport.vertical.maximum, verticalMaximum);
    QCOMPARE(viewport.horizontal.minimum, 0);
    QCOMPARE(viewport.vertical.minimum, 0);
    // whole(7515 / 98) = 77 columns, whole(2355 / 220) = 11 rows.
    QCOMPARE(viewport.horizontal.pageStep, 74);
    QCOMPARE(viewport.horizontal.singleStep, 1);
    QCOMPARE(viewport.vertical.pageStep, 9);
    QCOMPARE(viewport.vertical.singleStep, 1);
    QCOMPARE(state.metrics.refreshDepth, 2355 + 440);
    QCOMPARE(state.metrics.pageCount, (entries * 220 + 14569) / 14570);
}

void tst_LineGeometry::printerOrigin()
{
    TestTarget printer;
    printer.setWidth(11906);
    printer.setHeight(16838);
    printer.setScaleSize(11466, 16398); // 220 twips unprintable on every side
    printer.clearCalls();
    FakeViewport viewport;
    RunState state = a4State();
    state.printMode = true;
    pageParameters(printer, state, 200, viewport);

    QCOMPARE(printer.calls(u"scale"), (QStringList { u"scaleLeft -2048"_s, u"scaleTop -914"_s }));
    QVERIFY(printer.calls(u"width").isEmpty());
    QVERIFY(printer.calls(u"height").isEmpty());
    QCOMPARE(viewport.horizontal.maximum, 0); // the scroll bars are the preview's
    QCOMPARE(state.metrics.lineLeft, 0);
    QCOMPARE(state.metrics.pageCount, 4); // 200 × 220 = 44000 over 14570
    QCOMPARE(state.metrics.refreshDepth, 2355 + 440);
}

void tst_LineGeometry::printedSelectionCountsItsLines()
{
    TestTarget printer;
    FakeViewport viewport;
    RunState state = a4State();
    state.pageHeight = 2268 + 1100; // five lines a page
    state.printMode = true;
    state.printSelection = true;
    state.selection.selFirst = 4;
    state.selection.selLast = 8;
    pageParameters(printer, state, 1000, viewport);
    QCOMPARE(state.metrics.pageCount, 1);

    state.printSelection = false;
    pageParameters(printer, state, 1000, viewport);
    QCOMPARE(state.metrics.pageCount, 200);
}

void tst_LineGeometry::cutAtEnd_data()
{
    QTest::addColumn<double>("charWidth");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("fit");
    QTest::addColumn<QString>("expected");

    const QString alpha = u"alpha.txt"_s; // 9 characters
    QTest::newRow("narrower than the limit") << 100.0 << alpha << 1000 << 804 << alpha;
    QTest::newRow("exactly as wide as the limit") << 100.0 << alpha << 900 << 704 << alpha;
    QTest::newRow("one twip wider than the limit")
        << 100.0 << alpha << 899 << 703 << u"alpha.t... "_s;
    QTest::newRow("width taken to a whole twip first") << 100.05 << alpha << 900 << 704 << alpha;
    QTest::newRow("just over half a twip wider")
        << 100.06 << alpha << 900 << 704 << u"alpha.t... "_s;
    QTest::newRow("repeat test uses the exact width")
        << 100.08 << alpha << 899 << 701 << u"alpha.t... "_s;
    QTest::newRow("at least one character goes")
        << 100.0 << alpha << 899 << 5000 << u"alpha.tx... "_s;
    QTest::newRow("stops below the fit, not at it")
        << 100.0 << alpha << 899 << 700 << u"alpha.... "_s;
    QTest::newRow("column too narrow for anything") << 100.0 << alpha << 0 << -196 << u"... "_s;
    QTest::newRow("fit of exactly zero") << 100.0 << alpha << 50 << 0 << u"... "_s;
    QTest::newRow("long name loses many characters")
        << 100.0 << QString(200, u'x') << 899 << 703 << QString(7, u'x') + u"... "_s;
    QTest::newRow("long name, fit between characters")
        << 100.0 << QString(250, u'y') << 2000 << 1250 << QString(12, u'y') + u"... "_s;
    QTest::newRow("a character outside the BMP goes whole")
        << 100.0 << u"ab\U0001F600"_s << 250 << 250 << u"ab... "_s;
    QTest::newRow("long text ending outside the BMP")
        << 100.0 << QString(40, u'z') + u"\U0001F600\U0001F600"_s << 500 << 350 << u"zzz... "_s;
    QTest::newRow("empty text in a negative column")
        << 100.0 << QString() << -98 << -196 << u"... "_s;
}

void tst_LineGeometry::cutAtEnd()
{
    QFETCH(double, charWidth);
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(int, fit);
    QFETCH(QString, expected);
    TestTarget target(charWidth);
    QCOMPARE(qm::cutAtEnd(text, target, limit, fit, u"... "), expected);
}

void tst_LineGeometry::cutAtStart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("fit");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fits") << u"1,234,567"_s << 900 << 800 << u"1,234,567"_s;
    QTest::newRow("rightmost digits stay") << u"1,234,567"_s << 700 << 600 << u"...4,567"_s;
    QTest::newRow("at least one character goes")
        << u"1,234,567"_s << 899 << 5000 << u"...,234,567"_s;
    QTest::newRow("column too narrow for anything") << u"1,234,567"_s << -98 << -196 << u"..."_s;
}

void tst_LineGeometry::cutAtStart()
{
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(int, fit);
    QFETCH(QString, expected);
    TestTarget target;
    QCOMPARE(qm::cutAtStart(text, target, limit, fit, u"..."), expected);
}

void tst_LineGeometry::displayLine_data()
{
    QTest::addColumn<int>("sizeWidth");
    QTest::addColumn<int>("dateWidth");
    QTest::addColumn<bool>("vanished");
    QTest::addColumn<qint64>("modified");
    QTest::addColumn<QStringList>("texts");

    const qint64 afternoon = utc(2026, 12, 6, 13, 4, 5);
    // Name column 100..3100; the size column ends at 3100 + sizeWidth.
    QTest::newRow("three columns, right-aligned size and date")
        << 1500 << 2500 << false << afternoon
        << QStringList { u"text 100,440 \"alpha.txt\""_s, u"text 3700,440 \"1,234,567\""_s,
                         u"text 5100,440 \"12/6/26   1:04:05 PM\""_s };
    QTest::newRow("midnight shows the date and 00:00:00")
        << 1500 << 2500 << false << utc(2026, 12, 6, 0, 0, 0)
        << QStringList { u"text 100,440 \"alpha.txt\""_s, u"text 3700,440 \"1,234,567\""_s,
                         u"text 5300,440 \"12/6/26   00:00:00\""_s };
    QTest::newRow("cut size keeps its last digits")
        << 500 << 2500 << false << afternoon
        << QStringList { u"text 100,440 \"alpha.txt\""_s, u"text 3000,440 \"...567\""_s,
                         u"text 4100,440 \"12/6/26   1:04:05 PM\""_s };
    QTest::newRow("cut date ends in dots and a blank")
        << 1500 << 1200 << false << afternoon
        << QStringList { u"text 100,440 \"alpha.txt\""_s, u"text 3700,440 \"1,234,567\""_s,
                         u"text 4400,440 \"12/6/26   ... \""_s };
    QTest::newRow("vanished file: name, empty size, empty date")
        << 1500 << 2500 << true << qint64(0)
        << QStringList { u"text 100,440 \"alpha.txt\""_s, u"text 4600,440 \"\""_s,
                         u"text 5200,440 \"  /  /     00:00:00\""_s };
    QTest::newRow("unconvertible time: empty date form")
        << 1500 << 2500 << false << std::numeric_limits<qint64>::max()
        << QStringList { u"text 100,440 \"alpha.txt\""_s, u"text 3700,440 \"1,234,567\""_s,
                         u"text 5200,440 \"  /  /     00:00:00\""_s };
}

void tst_LineGeometry::displayLine()
{
    QFETCH(int, sizeWidth);
    QFETCH(int, dateWidth);
    QFETCH(bool, vanished);
    QFETCH(qint64, modified);
    QFETCH(QStringList, texts);

    FakeSource source;
    source.add(u"zulu"_s, 1, 0);
    if (vanished)
        source.addVanished(u"alpha.txt"_s);
    else
        source.add(u"alpha.txt"_s, 1234567, modified);

    LineMetrics metrics;
    metrics.columnGap = 98;
    metrics.lineLeft = 100;
    metrics.nameWidth = 3000;
    metrics.sizeWidth = sizeWidth;
    metrics.dateWidth = dateWidth;
    metrics.lineTop = 440;
    setTruncationLimits(metrics);

    TestTarget target;
    DateTimeFormatter dates;
    qm::displayLine(1, target, source, metrics, dates);
    QCOMPARE(target.calls(), texts);
}

QTEST_GUILESS_MAIN(tst_LineGeometry)
#include "tst_linegeometry.moc"
