#include "saving/savecommand.h"
#include "support/pdfreading.h"
#include "support/programrun.h"
#include "support/scratchfolder.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QDir>
#include <QPrinter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

const QString Program = QStringLiteral(QUILLMARK_PROGRAM);

// A page setup far from the defaults, so that a run that ignored it would print otherwise.
const QList<std::pair<QString, QString>> PageSetup {
    { u"Bold"_s, u"-1"_s },           { u"Size"_s, u" 12"_s },
    { u"Top Margin"_s, u" 1701"_s },  { u"Left Margin"_s, u" 1134"_s },
    { u"Right Margin"_s, u" 567"_s }, { u"Column 0"_s, u" .5"_s },
    { u"Column 1"_s, u" .2"_s },      { u"Column 2"_s, u" .3"_s },
};

} // namespace

/// The command line against the window: for the same folder and the same stored page setup,
/// every output of a run without the window is the very output of the window's command.
class tst_BatchWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void saveMatchesTheWindow_data();
    void saveMatchesTheWindow();
    void linesMatchTheClipboard();
    void printMatchesTheWindow_data();
    void printMatchesTheWindow();

private:
    ProgramRun runProgram(const QStringList &arguments)
    {
        ProgramSetup setup;
        setup.configHome = m_dir->text() + u"/config"_s;
        // The window's locale, pinned by the fixture; the run reads it from the environment.
        setup.environment << u"LC_ALL=en_US.UTF-8"_s << u"TZ=UTC"_s;
        return qm::test::runProgram(Program, arguments + QStringList { folder() }, setup);
    }
    QString folder() const { return m_dir->text() + u"/list"_s; }
    QString output(const QString &name) const { return m_dir->text() + u"/"_s + name; }

    WindowFixture w;
    std::unique_ptr<ScratchFolder> m_dir;
};

void tst_BatchWindow::initTestCase()
{
    w.pin();
    QVERIFY(QFileInfo(Program).isExecutable());
}

void tst_BatchWindow::init()
{
    m_dir = std::make_unique<ScratchFolder>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(QDir().mkpath(m_dir->text() + u"/config/Quillmark"_s));
    // Names that every form must carry whole, and enough others for two pages.
    QByteArrayList names { "comma, here.txt", "say \"cheese\".txt", "two\nlines.txt",
                           "=SUM(A1).txt",    "bad\xff\xfe.txt",    "Müller.txt" };
    for (int i = 0; i < 70; ++i)
        names << QByteArray("file") + QByteArray::number(i).rightJustified(3, '0') + ".dat";
    const timespec afternoon[2] { { 1796562245, 0 }, { 1796562245, 0 } }; // 6 Dec 2026
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray path = QFile::encodeName(folder()) + '/' + names[i];
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0 && ::ftruncate(fd, off_t(i * 1000)) == 0 && ::futimens(fd, afternoon) == 0);
        ::close(fd);
    }

    w.store = std::make_unique<MemorySettingsStore>();
    w.questions = std::make_unique<ScriptedQuestions>();
    QByteArray ini = "[StartUp]\n";
    for (const auto &[key, value] : PageSetup) {
        w.store->set(u"Quillmark"_s, u"StartUp"_s, key, value);
        ini += key.toUtf8() + '=' + value.toUtf8() + '\n';
    }
    w.store->set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, folder());
    QFile settings(m_dir->text() + u"/config/Quillmark/Quillmark.ini"_s);
    QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write(ini) == ini.size());
    settings.close();
    w.start();
    QCOMPARE(w.window->state().catalogueFont.size, 12.0);
    w.window->preview();
}

void tst_BatchWindow::cleanup()
{
    QCOMPARE(w.questions->unusedAnswers(), 0);
    w.finish();
}

void tst_BatchWindow::saveMatchesTheWindow_data()
{
    QTest::addColumn<QString>("fileType"); // chosen in the window's save dialog
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("starts");
    QTest::newRow("text, the file type chosen first")
        << QString() << u"text"_s << QByteArray("Catalog of folder ");
    QTest::newRow("comma-separated values")
        << SaveCommand::CsvFilter << u"csv"_s << QByteArray("Name,Size,Modified\r\n");
}

void tst_BatchWindow::saveMatchesTheWindow()
{
    QFETCH(QString, fileType);
    QFETCH(QString, format);
    const QString byWindow = output(u"window."_s + format);
    w.questions->answerSaveFileName(byWindow, fileType);
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(w.questions->log().value(0),
             u"save \"Save Quillmark\" \"Text(*.txt);;Comma-separated values (*.csv)\" \"\""_s);

    const QString byProgram = output(u"program."_s + format);
    const ProgramRun run = runProgram({ u"--save"_s, byProgram, u"--format"_s, format });
    QCOMPARE(run.exitCode, 0);
    const QByteArray saved = fileBytes(byWindow);
    QFETCH(QByteArray, starts);
    QVERIFY(saved.startsWith(starts));
    QCOMPARE(saved.count("\r\n"), 77);
    QCOMPARE(fileBytes(byProgram), saved);
}

void tst_BatchWindow::linesMatchTheClipboard()
{
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_C));
    const QByteArray copied = QGuiApplication::clipboard()->text().toUtf8();
    QCOMPARE(copied.count("\r\n"), 76);
    QVERIFY(copied.contains("=SUM(A1).txt,  3,000, 12/6/26,   1:04:05 PM\r\n"));

    const ProgramRun run = runProgram({ u"--save"_s, u"-"_s, u"--format"_s, u"lines"_s });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, copied);
}

void tst_BatchWindow::printMatchesTheWindow_data()
{
    QTest::addColumn<QString>("header"); // typed into the window's header box; empty: none
    QTest::addColumn<QString>("printed"); // at the top of the first page
    QTest::newRow("no header: the folder") << QString() << u"/list/"_s;
    QTest::newRow("a header of one's own") << u"Archive 2026"_s << u"Archive 2026"_s;
}

void tst_BatchWindow::printMatchesTheWindow()
{
    QFETCH(QString, header);
    QFETCH(QString, printed);
    const QString byWindow = output(u"window.pdf"_s);
    w.questions->answerPrint({ true, false, [=](QPrinter *printer) {
                                  printer->setOutputFormat(QPrinter::PdfFormat);
                                  printer->setOutputFileName(byWindow);
                                  printer->setPageSize(QPageSize(QPageSize::A4));
                              } });
    w.questions->answerText(header);
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));

    const QString byProgram = output(u"program.pdf"_s);
    QStringList arguments { u"--print-pdf"_s, byProgram, u"--paper"_s, u"A4"_s };
    if (!header.isEmpty())
        arguments << u"--header"_s << header;
    const ProgramRun run = runProgram(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.err), u"76 files, 2,850,000 bytes, 2 pages\n"_s);

    const QStringList pages = pdfPageTexts(byWindow);
    QCOMPARE(pages.size(), 2);
    QVERIFY2(pages.first().section(u'\n', 0, 0).contains(printed), qPrintable(pages.first()));
    QCOMPARE(pdfPageTexts(byProgram), pages);
}

QTEST_MAIN(tst_BatchWindow)
#include "tst_batchwindow.moc"
