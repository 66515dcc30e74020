#include "browse/folderbrowser.h"
#include "catalogue/cataloguestate.h"
#include "platform/datetext.h"
#include "saving/savecommand.h"
#include "saving/textoutputs.h"
#include "support/scratchfolder.h"
#include "support/scriptedquestions.h"
#include "support/writerfakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

bool writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

// filesNamed(3) as saved.
const QByteArray Lines[]
    = { "Catalog of folder /data\r\n", "file00.txt, 1000, 6 Dec 2026,  13:04:05\r\n",
        "file01.txt, 1001, 6 Dec 2026,  13:04:05\r\n",
        "file02.txt, 1002, 6 Dec 2026,  13:04:05\r\n" };

void makeFile(const QByteArray &path, const QByteArray &content, qint64 modified)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const timespec times[2] { { time_t(modified), 0 }, { time_t(modified), 0 } };
    QVERIFY(fd >= 0 && ::write(fd, content.constData(), size_t(content.size())) == content.size()
            && ::futimens(fd, times) == 0);
    ::close(fd);
}

// One save through the command, every question answered beforehand.
struct Saving
{
    QTemporaryDir dir;
    ScriptedQuestions questions;
    RecordingHost host;
    SaveCommand command { questions, host };

    bool save(const CatalogueSource &source, const Selection &selection, const QString &name,
              std::optional<bool> selectionOnly = std::nullopt)
    {
        questions.answerSaveFileName(name);
        if (selectionOnly)
            questions.answerYesNo(*selectionOnly);
        return command.run(source, selection);
    }
};

} // namespace

class tst_TextOutputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lineLayouts_data();
    void lineLayouts();
    void headerLineNamesTheFolderAsListed_data();
    void headerLineNamesTheFolderAsListed();
    void oddNamesCannotBreakALine();
    void saveTakesTheSelection_data();
    void saveTakesTheSelection();
    void meterRunsAcrossTheWholeList_data();
    void meterRunsAcrossTheWholeList();
    void saveThatFillsTheDiskKeepsTheOldFile_data();
    void saveThatFillsTheDiskKeepsTheOldFile();
    void stoppedOrVanished_data();
    void stoppedOrVanished();
    void saveIntoAFolderWithoutWriteAccess();
};

void tst_TextOutputs::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

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
    QFETCH(QString, header);
    FolderBrowser browser;
    browser.setPattern(u"quillmark-no-such-file"_s);
    browser.setFolder(folder);
    browser.refresh();
    QCOMPARE(savedHeaderLine(browser.files().folderText()), header);
}

void tst_TextOutputs::oddNamesCannotBreakALine()
{
    ScratchFolder folder;
    makeFile(folder.path() + "/bad\xff.txt", "12", Afternoon);
    makeFile(folder.path() + "/new\nline.txt", "123", Afternoon);
    FolderBrowser browser;
    browser.setPattern(u"*"_s);
    browser.setFolder(folder.text());
    browser.refresh();
    Saving saving;
    const QString out = folder.text() + u"/out.txt"_s;
    QVERIFY(saving.save(browser.files(), Selection(), out));
    QCOMPARE(readAll(out),
             "Catalog of folder " + folder.path()
                 + "\r\n"
                   "bad\\xff.txt, 2, 6 Dec 2026,  13:04:05\r\n"
                   "new\\nline.txt, 3, 6 Dec 2026,  13:04:05\r\n");
}

void tst_TextOutputs::saveTakesTheSelection_data()
{
    QTest::addColumn<qint64>("first");
    QTest::addColumn<bool>("yes"); // Save Selection Only?
    QTest::addColumn<QByteArray>("lines");
    const QByteArray all = Lines[0] + Lines[1] + Lines[2] + Lines[3];
    QTest::newRow("part selected, Yes: the part") << 1LL << true << Lines[0] + Lines[2] + Lines[3];
    QTest::newRow("Select All, Yes: the whole list") << 0LL << true << all;
    QTest::newRow("Select All, No: the same") << 0LL << false << all;
}

void tst_TextOutputs::saveTakesTheSelection()
{
    QFETCH(qint64, first);
    QFETCH(bool, yes);
    Saving saving;
    const QString out = saving.dir.filePath(u"part"_s); // no extension is added
    QVERIFY(saving.save(filesNamed(3), Selection { first, 2, true, 2 }, out, yes));
    QCOMPARE(
        saving.questions.log(),
        QStringList(
            { u"save \"Save Quillmark\" \"Text(*.txt);;Comma-separated values (*.csv)\" \"\""_s,
              u"yesno \"Quillmark Save\" \"Save Selection Only?\""_s }));
    QTEST(readAll(out), "lines");
}

void tst_TextOutputs::meterRunsAcrossTheWholeList_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QStringList>("drawn");
    const QString reset = u"meter 0 #008080 #c0c0c0 0"_s;
    QStringList twenty;
    for (int percent = 10; percent <= 95; percent += 5)
        twenty << u"meter 2 #800080 #c0c0c0 %1"_s.arg(percent);
    QTest::newRow("twenty files: 5 per cent does not pass the first mark")
        << 20 << (twenty << reset);
    QTest::newRow("one file: only the reset") << 1 << QStringList { reset };
}

void tst_TextOutputs::meterRunsAcrossTheWholeList()
{
    QFETCH(int, files);
    QFETCH(QStringList, drawn);
    Saving saving;
    QVERIFY(saving.save(filesNamed(files), Selection(), saving.dir.filePath(u"out.txt"_s)));
    const QStringList expected = QStringList { u"busy 1"_s, u"status \"Saving\""_s } + drawn
        + QStringList { u"status \"\""_s, u"busy 0"_s };
    QCOMPARE(saving.host.calls, expected);
}

void tst_TextOutputs::stoppedOrVanished_data()
{
    QTest::addColumn<bool>("copy"); // or save
    QTest::addColumn<qint64>("stopAfter"); // lines; -1: never
    QTest::addColumn<QList<qint64>>("result"); // stopped, lines, vanished
    for (const bool copy : { false, true }) {
        const char *output = copy ? "copy" : "save";
        QTest::addRow("%s: every line, two files vanished", output)
            << copy << -1LL << QList<qint64> { 0, 10, 2 };
        QTest::addRow("%s: stopped after five lines", output)
            << copy << 5LL << QList<qint64> { 1, 5, 1 };
    }
}

// Ten files, the fourth and the ninth gone by the time their lines are written.
void tst_TextOutputs::stoppedOrVanished()
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
    const QByteArray old = "the earlier catalogue\r\n";
    QVERIFY(writeFile(out, old));

    RunResult run;
    QString written;
    if (copy) {
        const CopyResult copied = clipboardText(source, 0, 9, host);
        run = copied.run;
        written = copied.text;
    } else {
        const SaveResult saved = saveCatalogue(out, source, host, {});
        QCOMPARE(saved.ok, !result[0]);
        QVERIFY(saved.error.isEmpty());
        run = saved.run;
        written = QString::fromUtf8(readAll(out));
    }
    QCOMPARE((QList<qint64> { run.stopped, run.lines, run.vanished }), result);
    const bool stopped = result[0];
    // A stopped output leaves nothing of itself: the earlier file, an unchanged clipboard.
    if (stopped)
        QCOMPARE(written, copy ? QString() : QString::fromUtf8(old));
    else
        QCOMPARE(written.count(u"  /  /  "_s), 2);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList { u"catalogue.txt"_s });
    QCOMPARE(
        host.calls.first(2),
        (QStringList { u"busy 1"_s, copy ? u"status \"Copying\""_s : u"status \"Saving\""_s }));
    QCOMPARE(host.calls.last(), u"busy 0"_s);
}

void tst_TextOutputs::saveThatFillsTheDiskKeepsTheOldFile_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("limit"); // bytes
    QTest::newRow("a long list: the disk fills in a large block") << 20000 << 64 * 1024;
    QTest::newRow("a short list: the disk fills in its only, small block") << 3 << 64;
}

// A file-size limit in a child process stands in for a disk that fills up part-way.
void tst_TextOutputs::saveThatFillsTheDiskKeepsTheOldFile()
{
    QFETCH(int, files);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString out = dir.filePath(u"catalogue.txt"_s);
    const QByteArray old = "the earlier catalogue\r\n";
    QVERIFY(writeFile(out, old));
    const FakeSource source = filesNamed(files);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize { rlim_t(limit), rlim_t(limit) };
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        ScriptedQuestions questions; // no temporary folder: _exit() would leave it behind
        RecordingHost host;
        questions.answerSaveFileName(out);
        const bool saved = SaveCommand(questions, host).run(source, Selection());
        const QString said = questions.log().value(1);
        ::_exit(!saved && said.startsWith(u"message \"Quillmark Save\""_s)
                        && said.contains(u"File too large"_s) && said.contains(u"unchanged"_s)
                    ? 0
                    : 1); // failed, and said so
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readAll(out), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList { u"catalogue.txt"_s });
}

// Run again as an ordinary user by the test command: root may write anywhere.
void tst_TextOutputs::saveIntoAFolderWithoutWriteAccess()
{
    if (::geteuid() == 0)
        QSKIP("root may write anywhere; the unprivileged run checks this");
    ScratchFolder folder;
    const QString out = folder.text() + u"/locked.txt"_s;
    QVERIFY(writeFile(out, "old"));
    QVERIFY(::chmod(folder.path().constData(), 0555) == 0);
    Saving saving;
    QVERIFY(!saving.save(filesNamed(3), Selection(), out));
    QVERIFY(saving.questions.log().value(1).startsWith(u"message "_s));
    QCOMPARE(readAll(out), QByteArray("old"));
}

QTEST_GUILESS_MAIN(tst_TextOutputs)
#include "tst_textoutputs.moc"
