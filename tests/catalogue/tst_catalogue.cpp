#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/linegeometry.h"
#include "platform/datetext.h"
#include "platform/twips.h"
#include "preview/previewarea.h"
#include "printing/printrun.h"
#include "support/testtarget.h"
#include "support/writerfakes.h"

#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

struct CutCase
{
    bool atStart;
    QString text;
    int limit, fit;
    QString expected;
};

} // namespace

Q_DECLARE_METATYPE(CutCase)

class tst_Catalogue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pageCount_data();
    void pageCount();
    void previewGeometry_data();
    void previewGeometry();
    void cut_data();
    void cut();
    void lineColumns_data();
    void lineColumns();
    void scrollHandlers_data();
    void scrollHandlers();
    void walkEnds_data();
    void walkEnds();
};

void tst_Catalogue::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(screenTwipsPerPixel(), 15.0); // the offscreen screen has 96 DPI
}

void tst_Catalogue::pageCount_data()
{
    QTest::addColumn<QList<qint64>>("c"); // lines, line height, print height, pages
    // Whole print heights are in the printing tests, which count the printed pages too.
    QTest::newRow("last line reaching into the margin stays") << QList<qint64> { 11, 220, 2300, 1 };
    QTest::newRow("one line past that starts a page") << QList<qint64> { 12, 220, 2300, 2 };
    QTest::newRow("beyond 32 bits") << QList<qint64> { 20'000'000, 220, 14570, 298508 };
    QTest::newRow("no print height: a page per line") << QList<qint64> { 10, 220, 0, 10 };
    QTest::newRow("a font without height: one page") << QList<qint64> { 10, 0, 14570, 1 };
}

void tst_Catalogue::pageCount()
{
    QFETCH(QList<qint64>, c);
    QCOMPARE(qm::pageCount(c[0], c[1], c[2]), c[3]);
}

void tst_Catalogue::previewGeometry_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<qint64>("entries");
    QTest::addColumn<QList<qint64>>("expected"); // width, height, scroll maxima
    // Print width = page width - 4536; the window's inside is 7515 x 2355, outside 2415 high.
    QTest::newRow("print width = window: its inside")
        << 12111 << 3LL << QList<qint64> { 7515, 2415, 10, 2 };
    QTest::newRow("one twip wider: 400 more")
        << 12112 << 3LL << QList<qint64> { 7976, 2415, 15, 2 };
    QTest::newRow("deeper than the window") << 11906 << 11LL << QList<qint64> { 7515, 2420, 10, 2 };
    QTest::newRow("a million lines")
        << 11906 << 1'000'000LL << QList<qint64> { 7515, 220'000'000, 10, 999'991 };
}

void tst_Catalogue::previewGeometry()
{
    QFETCH(int, pageWidth);
    QFETCH(qint64, entries);
    TestTarget target;
    FakeViewport viewport;
    CatalogueState state; // A4 height; the print width is the page width - 4536
    state.pageWidth = pageWidth;
    state.pageHeight = 16838;
    pageParameters(target, state, OutputMedium::Preview, entries, viewport);
    // 65 characters of 100 twips over 66, and 200 twips of text with a tenth more.
    QCOMPARE(QPoint(state.metrics.columnGap, state.metrics.lineHeight), QPoint(98, 220));
    // A page step keeps three columns and two lines of the last view.
    const PageGeometry g = pageGeometry(state, state.metrics, entries, { 7575, 2415, 7515, 2355 });
    QCOMPARE(QPoint(int(g.horizontalPageStep), int(g.verticalPageStep)), QPoint(74, 9));
    QTEST((QList<qint64> { target.width(), target.height(), viewport.horizontalMaximum,
                           viewport.verticalMaximum }),
          "expected");
}

void tst_Catalogue::cut_data()
{
    QTest::addColumn<CutCase>("c");
    const QString name = u"alpha.txt"_s; // 9 characters of 100 twips
    const QString size = u"1,234,567"_s;
    QTest::newRow("exactly as wide as the limit") << CutCase { false, name, 900, 704, name };
    QTest::newRow("one twip over the limit: cut below the fit")
        << CutCase { false, name, 899, 403, u"alph... "_s };
    QTest::newRow("tail ending exactly at the limit stays")
        << CutCase { false, u"abcdefghij"_s, 700, 500, u"abc... "_s };
    QTest::newRow("column narrower than the tail: the tail alone")
        << CutCase { false, name, 300, 100, u"... "_s };
    QTest::newRow("empty text, too-narrow column")
        << CutCase { false, QString(), -98, -196, u"... "_s };
    QTest::newRow("astral characters are never split")
        << CutCase { false, u"a\U0001F600b\U0001F600c\U0001F600d\U0001F600e"_s, 700, 500,
                     u"a\U0001F600b... "_s };
    QTest::newRow("cut size keeps rightmost digits")
        << CutCase { true, size, 800, 600, u"...4,567"_s };
    QTest::newRow("size whose dots would cross the limit: fewer digits")
        << CutCase { true, size, 480, 382, u"...7"_s };
    QTest::newRow("size column narrower than the dots: the dots alone")
        << CutCase { true, size, 250, 100, u"..."_s };
}

void tst_Catalogue::cut()
{
    QFETCH(CutCase, c);
    TestTarget target(100);
    QCOMPARE(c.atStart ? cutAtStart(c.text, target, c.limit, c.fit, u"...")
                       : cutAtEnd(c.text, target, c.limit, c.fit, u"... "),
             c.expected);
}

void tst_Catalogue::lineColumns_data()
{
    QTest::addColumn<qint64>("modified"); // the lowest: the file has vanished
    QTest::addColumn<int>("dateWidth");
    QTest::addColumn<QStringList>("sizeAndDate");
    // Columns of 3000, 1500 and the date's width from x = 100: the size ends at 4600, and the
    // date is right-aligned on its column's end.
    constexpr qint64 vanished = std::numeric_limits<qint64>::min();
    QTest::newRow("midnight: 00:00:00")
        << Afternoon - 47045 << 2500
        << QStringList { u"text 4100,440 \"1,234\""_s, u"text 5300,440 \"12/6/26   00:00:00\""_s };
    QTest::newRow("unconvertible: empty date")
        << std::numeric_limits<qint64>::max() << 2500
        << QStringList { u"text 4100,440 \"1,234\""_s, u"text 5200,440 \"  /  /     00:00:00\""_s };
    QTest::newRow("vanished: empty size and date")
        << vanished << 2500
        << QStringList { u"text 4600,440 \"\""_s, u"text 5200,440 \"  /  /     00:00:00\""_s };
    // 12/6/26 and its tail would start at 4400, over the size.
    QTest::newRow("cut date stays a gap clear of the size")
        << Afternoon << 1000
        << QStringList { u"text 4100,440 \"1,234\""_s, u"text 4700,440 \"12/6/... \""_s };
}

void tst_Catalogue::lineColumns()
{
    QFETCH(qint64, modified);
    QFETCH(int, dateWidth);
    FakeSource source;
    if (modified == std::numeric_limits<qint64>::min())
        source.addVanished(u"alpha.txt"_s);
    else
        source.add(u"alpha.txt"_s, 1234, modified);
    LineMetrics metrics { .columnGap = 98,
                          .lineLeft = 100,
                          .nameWidth = 3000,
                          .sizeWidth = 1500,
                          .dateWidth = dateWidth };
    setTruncationLimits(metrics);
    TestTarget target;
    DateTimeFormatter dates;
    qm::displayLine(0, 440, target, source, metrics, dates);
    QCOMPARE(target.calls().value(0), u"text 100,440 \"alpha.txt\""_s);
    QTEST(target.calls().mid(1), "sizeAndDate");
}

void tst_Catalogue::scrollHandlers_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<QPoint>("corner");
    // Steps of 98 and 220 twips; the picture is 9000 × 5000 twips.
    QTest::newRow("just inside the picture") << 22 << QPoint(-2156, -4840);
    QTest::newRow("beyond: clamped to the picture's height") << 23 << QPoint(-2254, -5000);
    QTest::newRow("far beyond: clamped to both") << 500 << QPoint(-9000, -5000);
}

void tst_Catalogue::scrollHandlers()
{
    QFETCH(int, steps);
    QWidget window;
    LineMetrics metrics { .columnGap = 98, .lineHeight = 220 };
    PreviewArea area(&window, metrics);
    area.picture().setWidth(9000);
    area.picture().setHeight(5000);
    area.setScrollMaximum(Qt::Horizontal, 500);
    area.setScrollMaximum(Qt::Vertical, 500);
    area.horizontalBar()->setValue(steps);
    area.verticalBar()->setValue(steps);
    QTEST(QPoint(int(area.picture().left()), int(area.picture().top())), "corner");
}

void tst_Catalogue::walkEnds_data()
{
    QTest::addColumn<bool>("paper");
    QTest::addColumn<qint64>("stopAfter"); // lines; -1: never
    QTest::addColumn<QList<qint64>>("result"); // stopped, lines, vanished
    for (const bool paper : { false, true }) {
        const char *medium = paper ? "paper" : "preview";
        QTest::addRow("%s: every line", medium) << paper << -1LL << QList<qint64> { 0, 10, 2 };
        QTest::addRow("%s: stopped after four lines", medium)
            << paper << 4LL << QList<qint64> { 1, 4, 1 };
    }
}

// Ten files, the fourth and the ninth gone by the time their lines are written.
void tst_Catalogue::walkEnds()
{
    QFETCH(bool, paper);
    QFETCH(qint64, stopAfter);
    QFETCH(QList<qint64>, result);
    const FakeSource source = filesNamed(10, { 3, 8 });
    CatalogueState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    FakeViewport viewport;
    RecordingHost host;
    host.stopAfter = stopAfter;
    TestTarget target;
    PrintRun hooks(state, nullptr);
    CatalogueWriter writer(state, source, viewport, host);
    const RunResult run = paper ? writer.writePages(target, hooks) : writer.writePreview(target);

    QCOMPARE((QList<qint64> { run.stopped, run.lines, run.vanished }), result);
    QCOMPARE(target.calls(u"text "_s).filter(u"\"file"_s).size(), result[1]);
    QCOMPARE(host.calls.filter(u"meter 2 #800080 #c0c0c0 "_s).size(), result[1] - 1);
    // However it ended: the meter emptied, the word gone, the pointer back, a preview there.
    QCOMPARE(host.calls.mid(host.calls.size() - 3),
             (QStringList { u"meter 0 #800080 #c0c0c0 0"_s, u"status \"\""_s, u"busy 0"_s }));
    QVERIFY(state.previewReady);
}

QTEST_MAIN(tst_Catalogue)
#include "tst_catalogue.moc"
