#include "app/runstate.h"
#include "catalogue/catalogfakes.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/outputtarget.h"
#include "catalogue/testtarget.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

RunState a4State()
{
    RunState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    return state;
}

const qint64 Afternoon = QDateTime(QDate(2026, 12, 6), QTime(13, 4, 5), Qt::UTC).toSecsSinceEpoch();

FakeSource filesNamed(int count)
{
    FakeSource source;
    for (int i = 0; i < count; ++i)
        source.add(u"file%1.txt"_s.arg(i, 2, 10, QLatin1Char('0')), 1000 + i, Afternoon);
    return source;
}

// Page steps as the printing command takes them, written down in order. A page break
// starts the next page and puts the line position back at its top, as on paper.
class RecordingHooks : public PrintHooks
{
public:
    explicit RecordingHooks(RunState &state)
        : m_state(state)
    {
    }
    QStringList calls;
    qint64 first = -1;
    qint64 last = -1;

    void startPrintRun(OutputTarget &, const QString &folderPrefix, qint64 &from,
                       qint64 &to) override
    {
        calls << u"start %1 %2..%3"_s.arg(folderPrefix).arg(from).arg(to);
        if (first >= 0) {
            from = first;
            to = last;
        }
    }
    void pageHead(OutputTarget &) override { calls << u"head %1"_s.arg(m_state.pageNumber); }
    void pageBreak(OutputTarget &printer) override
    {
        calls << u"break after %1"_s.arg(m_state.metrics.lineTop);
        printer.newPage();
        ++m_state.pageNumber;
        m_state.metrics.lineTop = 0;
        pageHead(printer);
    }

private:
    RunState &m_state;
};

} // namespace

class tst_CatalogueWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void emptyListOnlyClears_data();
    void emptyListOnlyClears();
    void wholePreviewAsText();
    void meterMarks_data();
    void meterMarks();
    void selectionDroppedAndCommandsShown();
    void refreshOnceAfterTheFirstScreenful_data();
    void refreshOnceAfterTheFirstScreenful();
    void vanishedFileGetsItsLine();
    void printingRunsThePageSteps();
    void printedRangeKeepsTheWholeListMeter();
    void rangeBeyondTheListIsClamped();
};

void tst_CatalogueWriter::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_CatalogueWriter::emptyListOnlyClears_data()
{
    QTest::addColumn<bool>("printing");
    QTest::addColumn<QStringList>("targetCalls");
    QTest::newRow("preview clears") << false << QStringList { u"cls"_s };
    QTest::newRow("printer untouched") << true << QStringList {};
}

void tst_CatalogueWriter::emptyListOnlyClears()
{
    QFETCH(bool, printing);
    QFETCH(QStringList, targetCalls);

    RunState state = a4State();
    state.printMode = printing;
    state.selection = { 2, 3, true, 2 };
    state.metrics.lineHeight = 777;
    FakeSource source;
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;
    RecordingHooks hooks(state);
    CatalogueWriter(state, source, viewport, host).writePreview(target, &hooks);

    QCOMPARE(target.calls(), targetCalls);
    QVERIFY(host.calls.isEmpty());
    QVERIFY(hooks.calls.isEmpty());
    QCOMPARE(state.previewReady, false);
    QCOMPARE(state.selection.selFirst, 2);
    QCOMPARE(state.selection.selLast, 3);
    QCOMPARE(state.selection.selectionMade, true);
    QCOMPARE(state.selection.clickedLine, 2);
    QCOMPARE(state.metrics.lineHeight, 777);
    QCOMPARE(viewport.horizontal.maximum, 0);
}

void tst_CatalogueWriter::wholePreviewAsText()
{
    RunState state = a4State();
    FakeSource source;
    source.add(u"alpha.txt"_s, 12, Afternoon);
    source.add(u"a name far too long for its column.txt"_s, 1234567, Afternoon);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;
    CatalogueWriter(state, source, viewport, host).writePreview(target);

    // Name column 100..4522 (limit 4422, fit 4226), size column to 5628, date column to
    // 7470 (limit 1744, fit 1646): at 100 twips a character the time loses its end.
    const QStringList expected {
        u"fontName \"Arial\""_s,
        u"fontSize 10"_s,
        u"fontBold 0"_s,
        u"fontItalic 0"_s,
        u"fontUnderline 0"_s,
        u"fontStrikethru 0"_s,
        u"foreColor &H00000000"_s,
        u"width 7515"_s,
        u"height 2415"_s,
        u"cls"_s,
        u"text 100,0 \"alpha.txt\""_s,
        u"text 5428,0 \"12\""_s,
        u"text 5470,0 \"12/6/26   1:04:0... \""_s,
        u"text 100,220 \"a name far too long for its column.txt\""_s,
        u"text 4728,220 \"1,234,567\""_s,
        u"text 5470,220 \"12/6/26   1:04:0... \""_s,
    };
    QCOMPARE(target.calls(), expected);
    QCOMPARE(state.metrics.lineTop, 440);
    QCOMPARE(target.currentX(), 0.0);
    QCOMPARE(target.currentY(), 0.0);
    QCOMPARE(state.previewReady, true);

    // The same catalogue with a narrow name column cuts the long name.
    state.printSettings.column0 = 0.2f;
    target.clearCalls();
    CatalogueWriter(state, source, viewport, host).writePreview(target);
    QCOMPARE(target.calls(u"text 100,220"), QStringList { u"text 100,220 \"a name far t... \""_s });
}

void tst_CatalogueWriter::meterMarks_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QStringList>("meter");

    const QString reset = u"meter 0 #800080 #c0c0c0 0"_s;
    QTest::newRow("one file: only the reset") << 1 << QStringList { reset };
    QTest::newRow("three files: 33 and 66")
        << 3
        << QStringList { u"meter 2 #800080 #c0c0c0 33"_s, u"meter 2 #800080 #c0c0c0 66"_s, reset };
    QStringList ten;
    for (int percent = 10; percent <= 90; percent += 10)
        ten << u"meter 2 #800080 #c0c0c0 %1"_s.arg(percent);
    ten << reset;
    QTest::newRow("ten files: 10 to 90") << 10 << ten;
    QStringList hundred;
    for (int percent = 6; percent <= 99; percent += 5) // first above 5, then above each mark
        hundred << u"meter 2 #800080 #c0c0c0 %1"_s.arg(percent);
    hundred << reset;
    QTest::newRow("a hundred files: once past each mark") << 100 << hundred;
}

void tst_CatalogueWriter::meterMarks()
{
    QFETCH(int, files);
    QFETCH(QStringList, meter);

    RunState state = a4State();
    const FakeSource source = filesNamed(files);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;
    CatalogueWriter(state, source, viewport, host).writePreview(target);
    QCOMPARE(host.meterCalls(), meter);
}

void tst_CatalogueWriter::selectionDroppedAndCommandsShown()
{
    RunState state = a4State();
    state.selection = { 1, 2, true, 1 };
    const FakeSource source = filesNamed(3);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;
    CatalogueWriter(state, source, viewport, host).writePreview(target);

    QCOMPARE(state.selection.selFirst, -1);
    QCOMPARE(state.selection.selLast, -1);
    QCOMPARE(state.selection.selectionMade, false);
    QCOMPARE(state.selection.clickedLine, -1);
    QCOMPARE(state.previewReady, true);
    const QStringList expected {
        u"busy 1"_s,
        u"status \"Writing\""_s,
        u"commands previewed"_s,
        u"meter 2 #800080 #c0c0c0 33"_s,
        u"meter 2 #800080 #c0c0c0 66"_s,
        u"meter 0 #800080 #c0c0c0 0"_s,
        u"status \"\""_s,
        u"busy 0"_s,
    };
    QCOMPARE(host.calls, expected);
}

void tst_CatalogueWriter::refreshOnceAfterTheFirstScreenful_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("textsBeforeRefresh");

    // Refresh depth 2355 + 2 × 220 = 2795: passed after the 13th line (2860).
    QTest::newRow("twelve lines never pass the depth") << 12 << -1;
    QTest::newRow("thirteen lines: refreshed after the last") << 13 << 39;
    QTest::newRow("a thousand lines: refreshed once, after line 13") << 1000 << 39;
}

void tst_CatalogueWriter::refreshOnceAfterTheFirstScreenful()
{
    QFETCH(int, files);
    QFETCH(int, textsBeforeRefresh);

    RunState state = a4State();
    const FakeSource source = filesNamed(files);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;
    CatalogueWriter(state, source, viewport, host).writePreview(target);

    const QStringList drawn = target.calls();
    QCOMPARE(drawn.count(u"refresh"_s), textsBeforeRefresh < 0 ? 0 : 1);
    if (textsBeforeRefresh >= 0) {
        const QStringList before = drawn.mid(0, drawn.indexOf(u"refresh"_s));
        QCOMPARE(before.filter(QRegularExpression(u"^text "_s)).size(), textsBeforeRefresh);
    }
}

void tst_CatalogueWriter::vanishedFileGetsItsLine()
{
    RunState state = a4State();
    FakeSource source;
    source.add(u"a.txt"_s, 5, Afternoon);
    source.addVanished(u"gone.txt"_s);
    source.add(u"c.txt"_s, 7, Afternoon);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;
    CatalogueWriter(state, source, viewport, host).writePreview(target);

    const QStringList expected {
        u"text 100,220 \"gone.txt\""_s,
        u"text 5628,220 \"\""_s,
        u"text 5470,220 \"  /  /     00:00... \""_s,
    };
    QCOMPARE(target.calls(u"text ").mid(3, 3), expected);
    QCOMPARE(target.calls(u"text ").size(), 9);
    QCOMPARE(state.previewReady, true);
}

void tst_CatalogueWriter::printingRunsThePageSteps()
{
    RunState state = a4State();
    state.pageHeight = 2268 + 1000; // lines at 0, 220, ..., 880: five a page
    state.printMode = true;
    state.selection = { 1, 2, true, 1 };
    const FakeSource source = filesNamed(10);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget printer;
    printer.setWidth(11906);
    printer.setHeight(16838);
    printer.setScaleSize(11466, 16398);
    printer.clearCalls();
    RecordingHooks hooks(state);
    CatalogueWriter(state, source, viewport, host).writePreview(printer, &hooks);

    const QStringList expected {
        u"start /data/ 0..9"_s, u"head 1"_s, u"break after 1100"_s, u"head 2"_s,
        u"break after 1100"_s,  u"head 3"_s,
    };
    QCOMPARE(hooks.calls, expected);
    QCOMPARE(printer.calls(u"newPage").size(), 2);
    QVERIFY(!printer.calls().contains(u"cls"_s));
    QVERIFY(!printer.calls().contains(u"refresh"_s));
    QCOMPARE(printer.calls(u"text 0,880 ").size(), 2);
    QCOMPARE(state.metrics.pageCount, 3); // 2200 over 1000, rounded up
    QCOMPARE(host.calls.at(1), u"status \"Printing\""_s);
    // Printing keeps the selection of the preview.
    QCOMPARE(state.selection.selFirst, 1);
    QCOMPARE(state.selection.selectionMade, true);
    QCOMPARE(state.previewReady, true);
}

void tst_CatalogueWriter::printedRangeKeepsTheWholeListMeter()
{
    RunState state = a4State();
    state.printMode = true;
    state.printSelection = true;
    state.selection = { 5, 9, true, 5 };
    const FakeSource source = filesNamed(10);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget printer;
    RecordingHooks hooks(state);
    hooks.first = 5;
    hooks.last = 9;
    CatalogueWriter(state, source, viewport, host).writePreview(printer, &hooks);

    QCOMPARE(printer.calls(u"text ").size(), 15);
    QCOMPARE(printer.calls(u"text 0,0 "), QStringList { u"text 0,0 \"file05.txt\""_s });
    const QStringList meter {
        u"meter 2 #800080 #c0c0c0 50"_s, u"meter 2 #800080 #c0c0c0 60"_s,
        u"meter 2 #800080 #c0c0c0 70"_s, u"meter 2 #800080 #c0c0c0 80"_s,
        u"meter 2 #800080 #c0c0c0 90"_s, u"meter 0 #800080 #c0c0c0 0"_s,
    };
    QCOMPARE(host.meterCalls(), meter);
    QCOMPARE(state.metrics.pageCount, 1);
}

void tst_CatalogueWriter::rangeBeyondTheListIsClamped()
{
    // A selection left over from a longer list must not read past the end.
    RunState state = a4State();
    state.printMode = true;
    const FakeSource source = filesNamed(3);
    FakeViewport viewport;
    RecordingHost host;
    TestTarget printer;
    RecordingHooks hooks(state);
    hooks.first = 1;
    hooks.last = 40;
    CatalogueWriter(state, source, viewport, host).writePreview(printer, &hooks);
    QCOMPARE(printer.calls(u"text ").size(), 6);
}

QTEST_GUILESS_MAIN(tst_CatalogueWriter)
#include "tst_cataloguewriter.moc"
