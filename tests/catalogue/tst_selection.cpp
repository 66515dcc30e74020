#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/previewpicture.h"
#include "catalogue/selection.h"
#include "writerfakes.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

QString runsText(const std::vector<LineRun> &runs)
{
    QStringList parts;
    for (const LineRun &run : runs)
        parts << u"%1-%2%3"_s.arg(run.first).arg(run.last).arg(run.highlighted ? u"H"_s : u"C"_s);
    return parts.join(u' ');
}

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
    {
        state.pageWidth = 11906;
        state.pageHeight = 16838;
        state.catalogueFont.name = u"Liberation Sans"_s;
        for (int i = 0; i < files; ++i)
            source.add(u"file%1.txt"_s.arg(i), 1000 + i, 1765000000 + i);
    }
    void draw()
    {
        CatalogueWriter(state, source, viewport, host).writePreview(picture);
        selection.previewDrawn();
    }
    double yOf(qint64 line) const { return (double(line) + 0.5) * state.metrics.lineHeight; }
    bool press(qint64 line, Qt::KeyboardModifiers modifiers = {},
               Qt::MouseButton button = Qt::LeftButton)
    {
        return selection.press(yOf(line), button, modifiers);
    }
    // The lines drawn in the highlight colour, as "first-last" runs.
    QString highlighted() const
    {
        QStringList lines;
        for (qint64 i = 0; i < picture.itemCount(); ++i) {
            const PreviewPicture::Item item = picture.item(i);
            if (item.colour == QColor(255, 0, 0)) {
                const QString line = QString::number(qint64(item.y) / state.metrics.lineHeight);
                if (lines.isEmpty() || lines.last() != line)
                    lines << line;
            }
        }
        return lines.join(u',');
    }
};

} // namespace

class tst_Selection : public QObject
{
    Q_OBJECT

private slots:
    void pressesMoveTheSelection_data();
    void pressesMoveTheSelection();
    void lineUnderThePointer_data();
    void lineUnderThePointer();
    void highlightFollowsTheTextColour_data();
    void highlightFollowsTheTextColour();
    void pressesThatSelectNothing_data();
    void pressesThatSelectNothing();
    void picturedSelectionMatchesTheState();
    void manyPicksLeaveThePictureAsItWas();
    void redrawReplacesALineWhoseFileChanged();
    void redrawKeepsThePreviewGeometry();
};

void tst_Selection::pressesMoveTheSelection_data()
{
    QTest::addColumn<qint64>("first"); // the selection before the press
    QTest::addColumn<qint64>("last");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<qint64>("newFirst");
    QTest::addColumn<qint64>("newLast");
    QTest::addColumn<QString>("redrawn");

    QTest::newRow("first press") << -1LL << -1LL << 4LL << false << 4LL << 4LL << u"4-4H"_s;
    QTest::newRow("first press with Shift")
        << -1LL << -1LL << 4LL << true << 4LL << 4LL << u"4-4H"_s;
    QTest::newRow("Shift below the anchor") << 2LL << 2LL << 5LL << true << 2LL << 5LL << u"2-5H"_s;
    QTest::newRow("Shift above the anchor moves it")
        << 5LL << 5LL << 2LL << true << 2LL << 5LL << u"2-5H"_s;
    QTest::newRow("Shift below after Shift above runs from the first press")
        << 2LL << 5LL << 7LL << true << 2LL << 7LL << u"2-5C 7-7H 2-7H"_s;
    QTest::newRow("Shift above a range")
        << 3LL << 6LL << 1LL << true << 1LL << 3LL << u"3-6C 1-1H 1-3H"_s;
    QTest::newRow("plain press elsewhere")
        << 2LL << 2LL << 6LL << false << 6LL << 6LL << u"2-2C 6-6H"_s;
    QTest::newRow("plain press elsewhere ends a range")
        << 2LL << 4LL << 6LL << false << 6LL << 6LL << u"2-4C 6-6H 2-2C 6-6H"_s;
    QTest::newRow("first line of a range leaves it alone")
        << 2LL << 4LL << 2LL << false << 2LL << 2LL << u"2-4C 2-2H"_s;
    QTest::newRow("first line of a range with Shift too")
        << 2LL << 4LL << 2LL << true << 2LL << 2LL << u"2-4C 2-2H"_s;
    QTest::newRow("the selected line again")
        << 3LL << 3LL << 3LL << false << 3LL << 3LL << QString();
}

void tst_Selection::pressesMoveTheSelection()
{
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(qint64, line);
    QFETCH(bool, shift);
    Selection selection { first, last, first >= 0, -1 };
    const std::vector<LineRun> runs = pressLine(selection, line, shift);
    QTEST(selection.selFirst, "newFirst");
    QTEST(selection.selLast, "newLast");
    QTEST(runsText(runs), "redrawn");
    QCOMPARE(selection.clickedLine, line);
}

void tst_Selection::lineUnderThePointer_data()
{
    QTest::addColumn<double>("y");
    QTest::addColumn<qint64>("line");
    QTest::newRow("top of the first line") << 0.0 << 0LL;
    QTest::newRow("just above the second") << 249.9 << 0LL;
    QTest::newRow("top of the second") << 250.0 << 1LL;
    QTest::newRow("below the last line") << 2500.0 << -1LL;
    QTest::newRow("above the picture") << -1.0 << -1LL;
}

void tst_Selection::lineUnderThePointer()
{
    QFETCH(double, y);
    QTEST(lineAt(y, 250, 10), "line");
}

void tst_Selection::highlightFollowsTheTextColour_data()
{
    QTest::addColumn<qint32>("text");
    QTest::addColumn<qint32>("highlight");
    QTest::newRow("black text, red highlight") << 0x000000 << 0x0000FF;
    QTest::newRow("white text, black highlight") << 0xFFFFFF << 0x000000;
    QTest::newRow("blue text keeps red only") << 0xFF0000 << 0x0000FF;
    QTest::newRow("dark red text") << 0x000080 << 0x00007F;
}

void tst_Selection::highlightFollowsTheTextColour()
{
    QFETCH(qint32, text);
    QTEST(highlightColour(text), "highlight");
}

void tst_Selection::pressesThatSelectNothing_data()
{
    QTest::addColumn<bool>("previewed");
    QTest::addColumn<int>("button");
    QTest::addColumn<qint64>("line");
    QTest::newRow("before any preview") << false << int(Qt::LeftButton) << 1LL;
    QTest::newRow("right button") << true << int(Qt::RightButton) << 1LL;
    QTest::newRow("middle button") << true << int(Qt::MiddleButton) << 1LL;
    QTest::newRow("below the last line") << true << int(Qt::LeftButton) << 5LL;
}

void tst_Selection::pressesThatSelectNothing()
{
    QFETCH(bool, previewed);
    QFETCH(int, button);
    QFETCH(qint64, line);
    Preview preview(5);
    if (previewed)
        preview.draw();
    else
        preview.state.metrics.lineHeight = 250;
    const qint64 items = preview.picture.itemCount();
    preview.host.calls.clear();
    QVERIFY(!preview.press(line, {}, Qt::MouseButton(button)));
    QCOMPARE(preview.state.selection.selFirst, -1);
    QVERIFY(!preview.state.selection.selectionMade);
    QCOMPARE(preview.picture.itemCount(), items);
    QCOMPARE(preview.highlighted(), QString());
    // The pointer is never left busy.
    QCOMPARE(preview.host.calls.count(u"busy 1"_s), preview.host.calls.count(u"busy 0"_s));
}

void tst_Selection::picturedSelectionMatchesTheState()
{
    Preview preview(8);
    QVERIFY(!preview.selection.selectAll()); // nothing to select before a preview
    preview.draw();
    QVERIFY(preview.press(2));
    QCOMPARE(preview.highlighted(), u"2"_s);
    QVERIFY(preview.press(5, Qt::ShiftModifier));
    QCOMPARE(preview.highlighted(), u"2,3,4,5"_s);
    QVERIFY(preview.press(1, Qt::ShiftModifier));
    QCOMPARE(preview.highlighted(), u"1,2"_s);
    QVERIFY(preview.press(6, Qt::ShiftModifier | Qt::ControlModifier)); // not Shift alone
    QCOMPARE(preview.highlighted(), u"6"_s);
    QVERIFY(preview.press(3, Qt::ShiftModifier));
    QCOMPARE(preview.highlighted(), u"3,4,5,6"_s);
    QVERIFY(preview.press(3));
    QCOMPARE(preview.highlighted(), u"3"_s);
    QVERIFY(preview.state.selection.selectionMade);
    // The picture's own colour is the text colour again.
    QCOMPARE(preview.picture.foreColor(), 0);
    QVERIFY(preview.selection.selectAll());
    QCOMPARE(preview.highlighted(), u"0,1,2,3,4,5,6,7"_s);
    QCOMPARE(preview.state.selection.selLast, 7);

    // A new preview drops the selection and its highlight.
    preview.draw();
    QCOMPARE(preview.state.selection.selFirst, -1);
    QCOMPARE(preview.highlighted(), QString());
}

void tst_Selection::manyPicksLeaveThePictureAsItWas()
{
    Preview preview(300);
    preview.draw();
    QVERIFY(preview.selection.selectAll());
    const qint64 items = preview.picture.itemCount();
    const qint64 bytes = preview.picture.memoryBytes();
    for (int i = 0; i < 1000; ++i)
        preview.press((i * 37) % 300, i % 3 ? Qt::ShiftModifier : Qt::NoModifier);
    QVERIFY(preview.selection.selectAll());
    QCOMPARE(preview.picture.itemCount(), items);
    QCOMPARE(preview.picture.memoryBytes(), bytes);
}

void tst_Selection::redrawReplacesALineWhoseFileChanged()
{
    Preview preview(3);
    preview.draw();
    const qint64 items = preview.picture.itemCount();
    preview.source.entries[1].second->size = 98765; // grew since the preview
    preview.source.entries[2].second.reset(); // and this one vanished
    QVERIFY(preview.press(1));
    QVERIFY(preview.press(2, Qt::ShiftModifier));
    QStringList row1, row2;
    for (qint64 i = 0; i < preview.picture.itemCount(); ++i) {
        const PreviewPicture::Item item = preview.picture.item(i);
        const qint64 line = qint64(item.y) / preview.state.metrics.lineHeight;
        if (item.text.isEmpty())
            continue;
        if (line == 1)
            row1 << item.text;
        else if (line == 2)
            row2 << item.text;
    }
    QVERIFY(preview.picture.itemCount() <= items);
    QCOMPARE(row1.size(), 3);
    QCOMPARE(row1.at(1), u"98,765"_s);
    QCOMPARE(row2, QStringList({ u"file2.txt"_s, u"  /  /     00:00:00"_s }));
}

// A print run measures the paper afterwards; picks in the preview still draw the preview's
// lines over themselves.
void tst_Selection::redrawKeepsThePreviewGeometry()
{
    Preview preview(3);
    preview.draw();
    QStringList before;
    for (qint64 i = 0; i < preview.picture.itemCount(); ++i)
        before << preview.picture.item(i).text;
    preview.state.metrics.nameWidth = 10;
    preview.state.metrics.nameLimit = 10;
    preview.state.metrics.nameFit = 5;
    QVERIFY(preview.selection.selectAll());
    QStringList after;
    for (qint64 i = 0; i < preview.picture.itemCount(); ++i)
        after << preview.picture.item(i).text;
    QCOMPARE(after, before);
}

QTEST_MAIN(tst_Selection)
#include "tst_selection.moc"
