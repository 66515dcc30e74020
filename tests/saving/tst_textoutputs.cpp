#include "browse/folderbrowser.h"
#include "catalogue/cataloguestate.h"
#include "saving/dataformats.h"
#include "saving/savecommand.h"
#include "saving/textoutputs.h"
#include "support/scratchfolder.h"
#include "support/scriptedquestions.h"
#include "support/writerfakes.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

// A list whose names hold the exact bytes given, not only text.
class ByteSource : public FakeSource
{
public:
    std::vector<QByteArray> raw;

    void addRaw(const QByteArray &name, const QString &shown, qint64 size, qint64 modified)
    {
        raw.push_back(name);
        add(shown, size, modified);
    }
    QByteArray name(qint64 i) const override { return raw.at(size_t(i)); }
};

QByteArray written(const CatalogueSource &source, const SaveOptions &options)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    RecordingHost host;
    const SaveResult result = writeCatalogue(buffer, source, host, {}, options);
    return result.ok ? buffer.data() : QByteArray("<failed: ") + result.error.toUtf8() + '>';
}

} // namespace

class tst_TextOutputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
        QLocale::setDefault(QLocale::c());
    }
    void files_data();
    void files();
    void csvCells_data();
    void csvCells();
    void jsonStrings_data();
    void jsonStrings();
    void headerLineKeepsTheRootsSeparator();
    void saveTakesTheSelection();
    void walks_data();
    void walks();
};

void tst_TextOutputs::files_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("empty"); // of an empty list
    const int csv = int(SaveFormat::Csv);
    const QByteArray when = "2026-12-06T13:04:05+00:00", midnight = "2026-12-06T00:00:00+00:00";
    // The text forms carry the escaped names, so that a name cannot break a line.
    QTest::newRow("text: the folder first, size as it is, midnight written out, vanished file")
        << int(SaveFormat::Text) << u","_s << false
        << QByteArray(
               "Catalog of folder /data\r\na,b, 1234567, 6 Dec 2026,  13:04:05\r\n"
               "bad\\xff, 7, 6 Dec 2026,  13:04:05\r\nnew\\nline, 0, 6 Dec 2026,  00:00:00\r\n"
               "gone, ,   /  /  ,  00:00:00\r\n")
        << QByteArray("Catalog of folder /data\r\n");
    QTest::newRow("lines, as copied: size grouped, wider gaps")
        << int(SaveFormat::Lines) << u","_s << false
        << QByteArray("a,b,  1,234,567, 6 Dec 2026,   13:04:05\r\nbad\\xff,  7, 6 Dec 2026,   "
                      "13:04:05\r\nnew\\nline,  0, 6 Dec 2026,   00:00:00\r\n"
                      "gone,  ,   /  /  ,   00:00:00\r\n")
        << QByteArray();
    QTest::newRow("csv: header row, CR LF, exact and escaped names, vanished file empty")
        << csv << u","_s << false
        << "Name,Size,Modified\r\n\"a,b\",1234567," + when + "\r\nbad\\xff,7," + when
            + "\r\n\"new\nline\",0," + midnight + "\r\ngone,,\r\n"
        << QByteArray("Name,Size,Modified\r\n");
    QTest::newRow("csv for a decimal comma, with a byte order mark")
        << csv << u";"_s << true
        << "\xef\xbb\xbfName;Size;Modified\r\na,b;1234567;" + when + "\r\nbad\\xff;7;" + when
            + "\r\n\"new\nline\";0;" + midnight + "\r\ngone;;\r\n"
        << QByteArray("\xef\xbb\xbfName;Size;Modified\r\n");
    QTest::newRow("json: raw bytes in base64 beside the escaped text, vanished file null")
        << int(SaveFormat::Json) << u","_s << false
        << "[\n{\"name\":\"a,b\",\"size\":1234567,\"modified\":\"" + when
            + "\"},\n{\"name\":\"bad\\\\xff\",\"bytes\":\"YmFk/w==\",\"size\":7,\"modified\":\""
            + when + "\"},\n{\"name\":\"new\\nline\",\"size\":0,\"modified\":\"" + midnight
            + "\"},\n{\"name\":\"gone\",\"size\":null,\"modified\":null}\n]\n"
        << QByteArray("[\n]\n");
}

void tst_TextOutputs::files()
{
    QFETCH(int, format);
    QFETCH(QString, separator);
    QFETCH(bool, bom);
    ByteSource source;
    source.addRaw("a,b", u"a,b"_s, 1234567, Afternoon);
    source.addRaw("bad\xff", u"bad\\xff"_s, 7, Afternoon);
    // CSV and JSON carry a valid name as it is; the text forms show "new\nline".
    source.addRaw("new\nline", u"new\\nline"_s, 0, Afternoon - 47045);
    source.raw.push_back("gone");
    source.addVanished(u"gone"_s);
    SaveOptions options;
    options.format = SaveFormat(format);
    options.separator = separator.front();
    options.byteOrderMark = bom;
    QTEST(written(source, options), "bytes");
    QTEST(written(FakeSource(), options), "empty"); // still a complete file
}

void tst_TextOutputs::csvCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("cell");
    const QString comma = u","_s, semicolon = u";"_s;
    QTest::newRow("empty stays empty") << QString() << comma << QString();
    QTest::newRow("semicolon under its own separator: quoted")
        << u"x;y"_s << semicolon << u"\"x;y\""_s;
    QTest::newRow("quote doubled inside quotes")
        << u"say \"hi\""_s << comma << u"\"say \"\"hi\"\"\""_s;
    QTest::newRow("= would run as a formula") << u"=1+1"_s << comma << u"'=1+1"_s;
    QTest::newRow("+ leading") << u"+49 123"_s << comma << u"'+49 123"_s;
    QTest::newRow("- leading") << u"-x"_s << comma << u"'-x"_s;
    QTest::newRow("@ leading") << u"@sum"_s << comma << u"'@sum"_s;
    QTest::newRow("tab leading") << u"\tx"_s << comma << u"'\tx"_s;
    QTest::newRow("CR leading: guarded and quoted") << u"\rx"_s << comma << u"\"'\rx\""_s;
    QTest::newRow("formula with a separator: guard inside the quotes")
        << u"=a,b"_s << comma << u"\"'=a,b\""_s;
    QTest::newRow("= inside is harmless") << u"a=b"_s << comma << u"a=b"_s;
}

void tst_TextOutputs::csvCells()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QString cell;
    appendCsvCell(cell, text, separator.front());
    QTEST(cell, "cell");
}

void tst_TextOutputs::jsonStrings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("json");
    QTest::newRow("quote and backslash") << u"a\"b\\c"_s << u"\"a\\\"b\\\\c\""_s;
    QTest::newRow("line feed, CR and tab by name") << u"\n\r\t"_s << u"\"\\n\\r\\t\""_s;
    QTest::newRow("other control characters as \\u") << u"\x01\x1f"_s << u"\"\\u0001\\u001f\""_s;
    QTest::newRow("line separators of JavaScript")
        << QString(QChar(0x2028)) + QChar(0x2029) << u"\"\\u2028\\u2029\""_s;
    QTest::newRow("letters beyond ASCII stay") << u"Müller 日本"_s << u"\"Müller 日本\""_s;
    QTest::newRow("DEL is no control character to JSON") << u"\x7f"_s << u"\"\x7f\""_s;
}

void tst_TextOutputs::jsonStrings()
{
    QFETCH(QString, text);
    QString json;
    appendJsonString(json, text);
    QTEST(json, "json");
}

// A sub-folder's has none: the window's saved text, in the tests of the command line.
void tst_TextOutputs::headerLineKeepsTheRootsSeparator()
{
    FolderBrowser browser;
    browser.setPattern(u"quillmark-no-such-file"_s);
    browser.setFolder(u"/"_s);
    browser.refresh();
    QCOMPARE(savedHeaderLine(browser.files().folderText()), u"Catalog of folder /"_s);
}

// Lines 1 to 2 picked, Yes to Save Selection Only?: those lines.
void tst_TextOutputs::saveTakesTheSelection()
{
    QTemporaryDir dir;
    ScriptedQuestions questions;
    RecordingHost host;
    const QString out = dir.filePath(u"part"_s); // no extension is added
    questions.answerSaveFileName(out);
    questions.answerYesNo(true);
    QVERIFY(SaveCommand(questions, host).run(filesNamed(3), Selection { 1, 2, true, 2 }));
    QCOMPARE(questions.log(),
             (QStringList {
                 u"save \"Save Quillmark\" \"Text(*.txt);;Comma-separated values (*.csv)\" \"\""_s,
                 u"yesno \"Quillmark Save\" \"Save Selection Only?\""_s }));
    QCOMPARE(fileBytes(out),
             "Catalog of folder /data\r\nfile01.txt, 1001, 6 Dec 2026,  13:04:05\r\n"
             "file02.txt, 1002, 6 Dec 2026,  13:04:05\r\n");
}

void tst_TextOutputs::walks_data()
{
    QTest::addColumn<bool>("copy"); // or save
    QTest::addColumn<qint64>("stopAfter"); // lines; -1: never
    QTest::addColumn<QList<qint64>>("result"); // stopped, lines, vanished
    QTest::newRow("save: two files vanished") << false << -1LL << QList<qint64> { 0, 20, 2 };
    QTest::newRow("copy: two files vanished") << true << -1LL << QList<qint64> { 0, 20, 2 };
    // What a stop leaves of an earlier file or the clipboard is the window's to test.
    QTest::newRow("save: stopped after five lines, no file")
        << false << 5LL << QList<qint64> { 1, 5, 1 };
    QTest::newRow("copy: stopped after five lines, no text")
        << true << 5LL << QList<qint64> { 1, 5, 1 };
}

// Twenty files, the fourth and the ninth gone by the time their lines are written.
void tst_TextOutputs::walks()
{
    QFETCH(bool, copy);
    QFETCH(qint64, stopAfter);
    QFETCH(QList<qint64>, result);
    const FakeSource source = filesNamed(20, { 3, 8 });
    RecordingHost host;
    host.stopAfter = stopAfter;
    QTemporaryDir dir;
    const QString out = dir.filePath(u"catalogue.txt"_s);

    RunResult run;
    QString written;
    if (copy) {
        const CopyResult copied = clipboardText(source, 0, 19, host);
        run = copied.run;
        written = copied.text;
    } else {
        const SaveResult saved = saveCatalogue(out, source, host, {});
        QCOMPARE(saved.ok && saved.error.isEmpty(), stopAfter < 0);
        run = saved.run;
        written = saved.ok ? QString::fromUtf8(fileBytes(out)) : QString();
        QCOMPARE(entriesOf(dir.path()).size(), saved.ok ? 1 : 0);
    }
    QCOMPARE((QList<qint64> { run.stopped, run.lines, run.vanished }), result);
    QCOMPARE(written.count(u"  /  /  "_s), run.stopped ? 0 : 2);
    QCOMPARE(written.isEmpty(), bool(run.stopped));
    // The meter in steps of 5 of the whole list, once past the first; emptied in the colour
    // of a finished save.
    QStringList expected { u"busy 1"_s, copy ? u"status \"Copying\""_s : u"status \"Saving\""_s };
    for (qint64 line = 2; line < result[1]; ++line)
        expected << u"meter 2 #800080 #c0c0c0 %1"_s.arg(line * 5);
    expected << u"meter 0 #008080 #c0c0c0 0"_s << u"status \"\""_s << u"busy 0"_s;
    QCOMPARE(host.calls, expected);
}

QTEST_GUILESS_MAIN(tst_TextOutputs)
#include "tst_textoutputs.moc"
