#include "saving/savecommand.h"
#include "support/pdfreading.h"
#include "support/programrun.h"
#include "support/scratchfolder.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QDir>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

/// The command line against the window: for the same folder and the same stored page setup,
/// every output of a run without the window is the very output of the window's command.
class tst_BatchWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { w.finish(); }
    void outputMatchesTheWindow_data();
    void outputMatchesTheWindow();

private:
    WindowFixture w;
    std::unique_ptr<ScratchFolder> m_dir;
};

void tst_BatchWindow::initTestCase()
{
    w.pin();
    QVERIFY(QFileInfo(QStringLiteral(QUILLMARK_PROGRAM)).isExecutable());
}

void tst_BatchWindow::init()
{
    m_dir = std::make_unique<ScratchFolder>();
    const QString folder = m_dir->text() + u"/list"_s;
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(m_dir->text() + u"/config/Quillmark"_s));
    // Names that every form must carry whole, and enough others for two pages.
    QByteArrayList names { "comma, here.txt", "say \"cheese\".txt", "two\nlines.txt",
                           "=SUM(A1).txt",    "bad\xff\xfe.txt",    "Müller.txt" };
    for (int i = 0; i < 70; ++i)
        names << QByteArray("file") + QByteArray::number(i).rightJustified(3, '0') + ".dat";
    for (qsizetype i = 0; i < names.size(); ++i) // changed on 6 Dec 2026
        QVERIFY(m_dir->makeFile("list/" + names[i], i * 1000, 1796562245));

    // A page setup far from the defaults, so that a run that ignored it would print otherwise.
    w.store = std::make_unique<MemorySettingsStore>();
    w.questions = std::make_unique<ScriptedQuestions>();
    QByteArray ini = "[StartUp]\n";
    for (const auto &[key, value] : { std::pair { "Bold", "-1" },
                                      { "Size", " 12" },
                                      { "Top Margin", " 1701" },
                                      { "Left Margin", " 1134" },
                                      { "Right Margin", " 567" },
                                      { "Column 0", " .5" },
                                      { "Column 1", " .2" },
                                      { "Column 2", " .3" } }) {
        w.store->set(u"Quillmark"_s, u"StartUp"_s, QLatin1StringView(key),
                     QLatin1StringView(value));
        ini += QByteArray(key) + '=' + value + '\n';
    }
    w.store->set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, folder);
    QVERIFY(writeFile(m_dir->text() + u"/config/Quillmark/Quillmark.ini"_s, ini));
    w.start();
    QCOMPARE(w.window->state().catalogueFont.size, 12.0);
    w.window->preview();
}

void tst_BatchWindow::outputMatchesTheWindow_data()
{
    QTest::addColumn<QString>("format"); // or pdf, printed
    QTest::addColumn<QString>("chosen"); // the window's file type or header typed
    QTest::addColumn<QString>("holds"); // what the window made
    QTest::newRow("text, the file type chosen first: the folder without its separator")
        << u"text"_s << QString() << u"/list\r\n"_s;
    QTest::newRow("comma-separated values")
        << u"csv"_s << SaveCommand::CsvFilter << u"Name,Size,Modified\r\n"_s;
    QTest::newRow("lines: the clipboard after Select All and Copy")
        << u"lines"_s << QString() << u"=SUM(A1).txt,  3,000, 12/6/26,   1:04:05 PM\r\n"_s;
    QTest::newRow("PDF without a header: the folder") << u"pdf"_s << QString() << u"/list/"_s;
    QTest::newRow("PDF with a header of one's own")
        << u"pdf"_s << u"Archive 2026"_s << u"Archive 2026"_s;
}

void tst_BatchWindow::outputMatchesTheWindow()
{
    QFETCH(QString, format);
    QFETCH(QString, chosen);
    const QString byWindow = m_dir->text() + u"/window."_s + format;
    const QString byProgram = m_dir->text() + u"/program."_s + format;
    QStringList arguments { u"--save"_s, byProgram, u"--format"_s, format };
    QByteArray made;
    if (format == u"pdf") {
        w.questions->answerPrint(toPdf(byWindow));
        w.questions->answerText(chosen);
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));
        arguments = QStringList { u"--print-pdf"_s, byProgram, u"--paper"_s, u"A4"_s };
        if (!chosen.isEmpty())
            arguments << u"--header"_s << chosen;
        made = pdfPageTexts(byWindow).join(u'\f').toUtf8();
        QCOMPARE(made.count('\f'), 1); // two pages
    } else if (format == u"lines") {
        QGuiApplication::clipboard()->clear();
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_A));
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_C));
        arguments[1] = u"-"_s;
        made = QGuiApplication::clipboard()->text().toUtf8();
    } else {
        w.questions->answerSaveFileName(byWindow, chosen);
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
        made = fileBytes(byWindow);
    }
    QFETCH(QString, holds);
    QVERIFY2(made.contains(holds.toUtf8()), made.left(200).constData());

    // The run reads the window's locale from the environment.
    ProgramSetup setup;
    setup.configHome = m_dir->text() + u"/config"_s;
    setup.environment = QStringList { u"LC_ALL=en_US.UTF-8"_s, u"TZ=UTC"_s };
    arguments << m_dir->text() + u"/list"_s;
    const ProgramRun run = runProgram(QStringLiteral(QUILLMARK_PROGRAM), arguments, setup);
    QCOMPARE(run.exitCode, 0);
    if (format == u"pdf")
        QCOMPARE(pdfPageTexts(byProgram).join(u'\f').toUtf8(), made);
    else
        QCOMPARE(format == u"lines" ? run.out : fileBytes(byProgram), made);
    QCOMPARE(made.count("\r\n"), format == u"pdf" ? 0 : format == u"lines" ? 76 : 77);
}

QTEST_MAIN(tst_BatchWindow)
#include "tst_batchwindow.moc"
