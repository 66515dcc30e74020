#include "support/programrun.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm::test;

namespace {

const QString Program = QStringLiteral(QUILLMARK_PROGRAM);

// Stands in for settings that a user has: a run without the window must leave them as they are.
const QByteArray StoredSettings = "[StartUp]\nFolder=/somewhere/else\nSize= 12\n";

// 6 Dec 2026 13:04:05 UTC.
constexpr qint64 Afternoon = 1796562245;

} // namespace

/// The real program run without a window, as a script runs it: no display, the settings of a
/// user in place.
class tst_BatchRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void failures_data();
    void failures();
    void csvAndJsonReadBack();
    void recursiveTree();

private:
    QString dir() const { return m_dir->text(); }
    QString out() const { return dir() + u"/out"_s; }
    ProgramRun run(const QStringList &arguments, ProgramSetup setup = {})
    {
        QStringList expanded;
        for (QString argument : arguments)
            expanded << argument.replace(u"{dir}"_s, dir()).replace(u"{out}"_s, out());
        setup.configHome = dir() + u"/config"_s;
        setup.environment << u"LC_ALL=C.UTF-8"_s << u"TZ=UTC"_s;
        return runProgram(Program, expanded, setup);
    }

    std::unique_ptr<ScratchFolder> m_dir;
    QString m_settingsFile;
};

void tst_BatchRun::init()
{
    m_dir = std::make_unique<ScratchFolder>();
    QVERIFY(m_dir->isValid());
    for (const char *folder : { "/list", "/out", "/config", "/config/Quillmark" })
        QVERIFY(QDir().mkpath(dir() + QLatin1StringView(folder)));
    for (const char *name : { "a.txt", "b.txt", "c.txt" })
        QVERIFY(m_dir->makeFile("list/" + QByteArray(name), 1, Afternoon));
    m_settingsFile = dir() + u"/config/Quillmark/Quillmark.ini"_s;
    QVERIFY(writeFile(m_settingsFile, StoredSettings));
    // An ordinary user may not reach the build folder that holds the program.
    if (::geteuid() != 0 && !QFileInfo(Program).isExecutable())
        QSKIP("the program is out of this user's reach");
    QVERIFY(QFileInfo(Program).isExecutable());
}

void tst_BatchRun::failures_data()
{
    QTest::addColumn<QString>("arguments"); // split at '|'; {dir} and {out} are filled in
    QTest::addColumn<QString>("how"); // "", "file size limit" or "full standard output"
    QTest::addColumn<QString>("message"); // after "quillmark: "
    // A usage mistake's message ends with the pointer to --help, and the status is 2, not 1.
    const QString none;
    QTest::newRow("a folder that does not exist")
        << u"--save|{out}/c.csv|--format|csv|{dir}/gone"_s << none
        << u"cannot read {dir}/gone: No such file or directory"_s;
    QTest::newRow("a tree whose top does not exist")
        << u"--save|{out}/c.txt|--recursive|{dir}/gone"_s << none
        << u"cannot read {dir}/gone: No such file or directory"_s;
    QTest::newRow("an output folder that does not exist")
        << u"--save|{out}/none/c.csv|{dir}/list"_s << none
        << u"cannot write {out}/none/c.csv: No such file or directory"_s;
    QTest::newRow("a disk that fills up part-way")
        << u"--save|{out}/c.json|--format|json|{dir}/list"_s << u"file size limit"_s
        << u"cannot write {out}/c.json: File too large"_s;
    QTest::newRow("standard output that is full")
        << u"--save|-|{dir}/list"_s << u"full standard output"_s
        << u"cannot write standard output: No space left on device"_s;
    QTest::newRow("a PDF in a folder that does not exist")
        << u"--print-pdf|{out}/none/c.pdf|{dir}/list"_s << none
        << u"cannot write {out}/none/c.pdf: the file cannot be written: No such file or "
           "directory"_s;
    QTest::newRow("nothing to print")
        << u"--print-pdf|{out}/c.pdf|--pattern|*.none|{dir}/list"_s << none
        << u"nothing to print: no file of {dir}/list passed the pattern and the attributes"_s;
    QTest::newRow("an unknown printer") << u"--print|--printer|nosuch|{dir}/list"_s << none
                                        << u"there is no printer named nosuch (no printers here)"_s;
    QTest::newRow("no default printer")
        << u"--print|{dir}/list"_s << none
        << u"there is no default printer: name one with --printer"_s;
    QTest::newRow("an unknown option") << u"--save|{out}/c.txt|--colour|red|{dir}/list"_s << none
                                       << u"unknown option 'colour' (see quillmark --help)"_s;
    QTest::newRow("two outputs at once")
        << u"--save|{out}/c.txt|--print-pdf|{out}/c.pdf|{dir}/list"_s << none
        << u"one output at a time, not --save and --print-pdf (see quillmark --help)"_s;
    QTest::newRow("an unknown format")
        << u"--save|{out}/c.xls|--format|xls|{dir}/list"_s << none
        << u"unknown format 'xls': choose text, lines, csv, json (see quillmark --help)"_s;
    QTest::newRow("an unknown paper")
        << u"--print-pdf|{out}/c.pdf|--paper|B5|{dir}/list"_s << none
        << u"unknown paper 'B5': choose A4, Letter, Legal, A5, A3 (see quillmark --help)"_s;
    QTest::newRow("an unknown attribute")
        << u"--save|{out}/c.txt|--attributes|compressed|{dir}/list"_s << none
        << u"unknown attribute 'compressed': choose from normal, hidden, system, readonly, "
           "archive (see quillmark --help)"_s;
}

void tst_BatchRun::failures()
{
    QFETCH(QString, arguments);
    QFETCH(QString, how);
    QFETCH(QString, message);
    ProgramSetup setup;
    if (how == u"file size limit") {
        setup.inChild = [] {
            std::signal(SIGXFSZ, SIG_DFL); // the program itself must turn it into an error
            const rlimit limit { 64, 64 };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        };
    } else if (how == u"full standard output") {
        setup.standardOutputFile = u"/dev/full"_s;
    }
    const ProgramRun result = run(arguments.split(u'|'), setup);
    QVERIFY(result.started);
    QCOMPARE(QString::fromUtf8(result.err),
             u"quillmark: "_s + message.replace(u"{dir}"_s, dir()).replace(u"{out}"_s, out())
                 + u'\n');
    QCOMPARE(result.exitCode, message.endsWith(u"(see quillmark --help)") ? 2 : 1);
    QCOMPARE(result.out, QByteArray());
    // Nothing made, not even half, and the user's settings as they were.
    QCOMPARE(entriesOf(out()), QStringList());
    QCOMPARE(entriesOf(dir() + u"/config/Quillmark"_s), QStringList { u"Quillmark.ini"_s });
    QCOMPARE(fileBytes(m_settingsFile), StoredSettings);
}

// Names that CSV must quote or guard, read back by Python's csv module; the same list as JSON.
void tst_BatchRun::csvAndJsonReadBack()
{
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    if (python.isEmpty())
        QSKIP("python3 is not installed (scripts/test installs it)");
    QVERIFY(QDir().mkpath(dir() + u"/odd"_s));
    qint64 size = 0;
    for (const char *name : { "comma, here.txt", "say \"cheese\".txt", "two\nlines.txt",
                              "=HYPERLINK(1).txt", "bad\xff\xfe.txt", "Müller; Öl.txt" })
        QVERIFY(m_dir->makeFile("odd/" + QByteArray(name), ++size, Afternoon));

    const ProgramRun csv
        = run({ u"--save"_s, u"-"_s, u"--format"_s, u"csv"_s, u"--quiet"_s, dir() + u"/odd"_s });
    QCOMPARE(csv.exitCode, 0);
    QCOMPARE(csv.err, QByteArray()); // --quiet: no summary
    const ProgramRun json
        = run({ u"--save"_s, u"-"_s, u"--format"_s, u"json"_s, u"--quiet"_s, dir() + u"/odd"_s });
    QCOMPARE(json.exitCode, 0);

    // The rows as Python sees them, one line each: the name as a JSON string, the size, and
    // the time read as an ISO date-time.
    QProcess reader;
    reader.start(
        python,
        { u"-c"_s,
          u"import csv, datetime, io, json, sys\n"
          "text = sys.stdin.buffer.read().decode('utf-8')\n"
          "rows = list(csv.reader(io.StringIO(text, newline='')))\n"
          "print(' | '.join(rows[0]))\n"
          "for row in rows[1:]:\n"
          "    when = datetime.datetime.fromisoformat(row[2]).isoformat()\n"
          "    print(json.dumps(row[0], ensure_ascii=False), row[1], when, sep=' | ')\n"_s });
    reader.write(csv.out);
    reader.closeWriteChannel();
    QVERIFY(reader.waitForFinished(60000));
    const QString when = u"2026-12-06T13:04:05+00:00"_s;
    // The formula is guarded, the bad bytes have their text form, the rest is exact.
    QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()),
             u"Name | Size | Modified\n"
             "\"'=HYPERLINK(1).txt\" | 4 | %1\n"
             "\"bad\\\\xff\\\\xfe.txt\" | 5 | %1\n"
             "\"comma, here.txt\" | 1 | %1\n"
             "\"Müller; Öl.txt\" | 6 | %1\n"
             "\"say \\\"cheese\\\".txt\" | 2 | %1\n"
             "\"two\\nlines.txt\" | 3 | %1\n"_s.arg(when));

    // JSON in the same order, with the raw bytes of a name that is not UTF-8.
    const QJsonArray objects = QJsonDocument::fromJson(json.out).array();
    QCOMPARE(objects.size(), 6);
    QCOMPARE(QByteArray::fromBase64(objects[1][u"bytes"].toString().toLatin1()), "bad\xff\xfe.txt");
    QCOMPARE(objects[5][u"name"].toString(), u"two\nlines.txt"_s);
    QCOMPARE(objects[5][u"modified"].toString(), when);
}

// Run again as an ordinary user by the test command, whom the locked folder keeps out.
void tst_BatchRun::recursiveTree()
{
    const QByteArray top = m_dir->path("tree");
    for (const char *folder : { "", "/b", "/b/inner", "/a", "/locked" })
        QCOMPARE(::mkdir((top + folder).constData(), 0755), 0);
    qint64 size = 0;
    for (const char *file :
         { "top.txt", "a/one.txt", "b/two.txt", "b/inner/three.txt", "locked/secret.txt" })
        QVERIFY(m_dir->makeFile("tree/" + QByteArray(file), ++size, Afternoon));
    QCOMPARE(::chmod((top + "/locked").constData(), 0), 0);
    QCOMPARE(::symlink("..", (top + "/b/inner/up").constData()), 0); // a loop, if followed
    QCOMPARE(::symlink("ring", (top + "/ring").constData()), 0); // a link to itself
    QCOMPARE(::mkfifo((top + "/a/pipe").constData(), 0644), 0); // never opened
    QVERIFY(m_dir->setTime("tree/ring", Afternoon) && m_dir->setTime("tree/a/pipe", Afternoon));

    const ProgramRun result = run({ u"--save"_s, u"{out}/tree.txt"_s, u"--format"_s, u"lines"_s,
                                    u"--recursive"_s, dir() + u"/tree"_s });
    QByteArray lines = "ring,  4, 6 Dec 2026,   13:04:05\r\n"
                       "top.txt,  1, 6 Dec 2026,   13:04:05\r\n"
                       "a/one.txt,  2, 6 Dec 2026,   13:04:05\r\n"
                       "a/pipe,  0, 6 Dec 2026,   13:04:05\r\n"
                       "b/two.txt,  3, 6 Dec 2026,   13:04:05\r\n"
                       "b/inner/three.txt,  4, 6 Dec 2026,   13:04:05\r\n";
    const bool root = ::geteuid() == 0; // reads every folder
    if (root)
        lines += "locked/secret.txt,  5, 6 Dec 2026,   13:04:05\r\n";
    QCOMPARE(fileBytes(out() + u"/tree.txt"_s), lines); // made, even where not all of it
    QCOMPARE(
        QString::fromUtf8(result.err),
        root ? u"7 files, 19 bytes\n"_s
             : u"quillmark: cannot read %1/tree/locked: Permission denied\n6 files, 14 bytes\n"_s
                   .arg(dir()));
    QCOMPARE(result.exitCode, root ? 0 : 1);
    QCOMPARE(fileBytes(m_settingsFile), StoredSettings);
}

QTEST_GUILESS_MAIN(tst_BatchRun)
#include "tst_batchrun.moc"
