#include "browse/folderbrowser.h"
#include "catalogue/cataloguestate.h"
#include "platform/datetext.h"
#include "saving/savecommand.h"
#include "saving/textoutputs.h"
#include "support/scriptedquestions.h"
#include "support/writerfakes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

} // namespace

class tst_TextOutputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void lineLayouts_data();
    void lineLayouts();
    void headerLineNamesTheFolderAsListed_data();
    void headerLineNamesTheFolderAsListed();
    void saveTakesTheSelection_data();
    void saveTakesTheSelection();
    void walks_data();
    void walks();
};

void tst_TextOutputs::lineLayouts_data()
{
    QTest::addColumn<qint64>("size"); // -1: the file has vanished
    QTest::addColumn<qint64>("modified");
    QTest::addColumn<QString>("saved"); // and copied
    QTest::newRow("size grouped only when copied") << 1234567LL << Afternoon
                                                   << u"f, 1234567, 6 Dec 2026,  13:04:05|"
                                                      "f,  1,234,567, 6 Dec 2026,   13:04:05"_s;
    QTest::newRow("midnight gets its time written out")
        << 0LL << Afternoon - 47045
        << u"f, 0, 6 Dec 2026,  00:00:00|f,  0, 6 Dec 2026,   00:00:00"_s;
    QTest::newRow("vanished file: empty size and empty date")
        << -1LL << 0LL << u"f, ,   /  /  ,  00:00:00|f,  ,   /  /  ,   00:00:00"_s;
}

void tst_TextOutputs::lineLayouts()
{
    QFETCH(qint64, size);
    QFETCH(qint64, modified);
    const std::optional<FileStat> stat
        = size < 0 ? std::nullopt : std::optional(FileStat { size, modified });
    DateTimeFormatter dates;
    QString line;
    appendTextLine(line, u"f"_s, stat, dates, TextLayout::Saved);
    line += u'|';
    appendTextLine(line, u"f"_s, stat, dates, TextLayout::Clipboard);
    QTEST(line, "saved");
}

void tst_TextOutputs::headerLineNamesTheFolderAsListed_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("header");
    QTest::newRow("drive root keeps its separator") << u"/"_s << u"Catalog of folder /"_s;
    QTest::newRow("sub-folder has none") << u"/tmp/"_s << u"Catalog of folder /tmp"_s;
}

void tst_TextOutputs::headerLineNamesTheFolderAsListed()
{
    QFETCH(QString, folder);
    FolderBrowser browser;
    browser.setPattern(u"quillmark-no-such-file"_s);
    browser.setFolder(folder);
    browser.refresh();
    QTEST(savedHeaderLine(browser.files().folderText()), "header");
}

void tst_TextOutputs::saveTakesTheSelection_data()
{
    QTest::addColumn<qint64>("first"); // of lines 1 to 2; -1: nothing picked
    QTest::addColumn<QByteArray>("lines"); // after the header line; Yes to Save Selection Only?
    QTest::newRow("nothing picked: not asked, every line") << -1LL << QByteArray("012");
    QTest::newRow("lines picked, Yes: those lines") << 1LL << QByteArray("12");
}

void tst_TextOutputs::saveTakesTheSelection()
{
    QFETCH(qint64, first);
    QFETCH(QByteArray, lines);
    QTemporaryDir dir;
    ScriptedQuestions questions;
    RecordingHost host;
    const QString out = dir.filePath(u"part"_s); // no extension is added
    questions.answerSaveFileName(out);
    QStringList asked {
        u"save \"Save Quillmark\" \"Text(*.txt);;Comma-separated values (*.csv)\" \"\""_s
    };
    if (first >= 0) {
        questions.answerYesNo(true);
        asked << u"yesno \"Quillmark Save\" \"Save Selection Only?\""_s;
    }
    const Selection picked = first < 0 ? Selection() : Selection { first, 2, true, 2 };
    QVERIFY(SaveCommand(questions, host).run(filesNamed(3), picked));
    QCOMPARE(questions.log(), asked);
    QByteArray expected = "Catalog of folder /data\r\n";
    for (const char line : lines)
        expected += "file0" + QByteArray(1, line) + ".txt, 100" + QByteArray(1, line)
            + ", 6 Dec 2026,  13:04:05\r\n";
    QCOMPARE(readAll(out), expected);
}

void tst_TextOutputs::walks_data()
{
    QTest::addColumn<bool>("copy"); // or save
    QTest::addColumn<qint64>("stopAfter"); // lines; -1: never
    QTest::addColumn<QList<qint64>>("result"); // stopped, lines, vanished
    QTest::newRow("save: two files vanished") << false << -1LL << QList<qint64> { 0, 10, 2 };
    QTest::newRow("copy: two files vanished") << true << -1LL << QList<qint64> { 0, 10, 2 };
    // A stopped save is the window's to test (Escape, and Exit), with the earlier file.
    QTest::newRow("copy: stopped after five lines, nothing to put on the clipboard")
        << true << 5LL << QList<qint64> { 1, 5, 1 };
}

// Ten files, the fourth and the ninth gone by the time their lines are written.
void tst_TextOutputs::walks()
{
    QFETCH(bool, copy);
    QFETCH(qint64, stopAfter);
    QFETCH(QList<qint64>, result);
    FakeSource source = filesNamed(10);
    source.entries[3].second.reset();
    source.entries[8].second.reset();
    RecordingHost host;
    host.stopAfter = stopAfter;
    QTemporaryDir dir;
    const QString out = dir.filePath(u"catalogue.txt"_s);

    RunResult run;
    QString written;
    if (copy) {
        const CopyResult copied = clipboardText(source, 0, 9, host);
        run = copied.run;
        written = copied.text;
    } else {
        const SaveResult saved = saveCatalogue(out, source, host, {});
        QVERIFY(saved.ok && saved.error.isEmpty());
        run = saved.run;
        written = QString::fromUtf8(readAll(out));
    }
    QCOMPARE((QList<qint64> { run.stopped, run.lines, run.vanished }), result);
    QCOMPARE(written.count(u"  /  /  "_s), run.stopped ? 0 : 2);
    QCOMPARE(written.isEmpty(), bool(run.stopped));
    // The meter in steps of the whole list, emptied in the colour of a finished save.
    QStringList expected { u"busy 1"_s, copy ? u"status \"Copying\""_s : u"status \"Saving\""_s };
    for (qint64 line = 1; line < result[1]; ++line)
        expected << u"meter 2 #800080 #c0c0c0 %1"_s.arg(line * 10);
    expected << u"meter 0 #008080 #c0c0c0 0"_s << u"status \"\""_s << u"busy 0"_s;
    QCOMPARE(host.calls, expected);
}

QTEST_GUILESS_MAIN(tst_TextOutputs)
#include "tst_textoutputs.moc"
