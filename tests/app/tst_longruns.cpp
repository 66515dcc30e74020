// Long commands through the real window: Escape stops them, Exit stops them and then closes
// the window, and nothing else the user does meanwhile starts another command.
#include "browse/folderbrowserview.h"
#include "browse/statusstrip.h"
#include "windowfixture.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QListView>
#include <QPrinter>
#include <QPushButton>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

const QByteArray Earlier = "the earlier catalogue\n";

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

} // namespace

class tst_LongRuns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stopped_data();
    void stopped();
    void inputDuringARunStartsNothing();

private:
    WindowFixture w;
};

void tst_LongRuns::initTestCase()
{
    w.pin();
}

void tst_LongRuns::init()
{
    w.newFolder();
    const QByteArray folder = QFile::encodeName(w.folder->path());
    for (int i = 0; i < 2000; ++i) {
        const QByteArray name = folder + "/file" + QByteArray::number(i).rightJustified(4, '0');
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    w.start();
    w.window->preview();
}

void tst_LongRuns::cleanup()
{
    QCOMPARE(w.questions->unusedAnswers(), 0);
    w.finish();
}

void tst_LongRuns::stopped_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("exit"); // or Escape
    QTest::addColumn<QString>("note");
    const QString saved = u"Save stopped; nothing was written"_s;
    const QString printed = u"Printing stopped; nothing was written"_s;
    for (const bool exit : { false, true }) {
        const char *way = exit ? "Exit" : "Escape";
        QTest::addRow("Preview, %s", way)
            << u"preview"_s << exit << u"Preview stopped at line 0 of 2,000"_s;
        QTest::addRow("Save, %s", way) << u"save"_s << exit << saved;
        QTest::addRow("Print to a file, %s", way) << u"print"_s << exit << printed;
        QTest::addRow("Copy after Select All, %s", way)
            << u"copy"_s << exit << u"Copy stopped; the clipboard is unchanged"_s;
    }
}

// Escape or Exit comes as the run takes in its first events, so it stops on its first line.
void tst_LongRuns::stopped()
{
    QFETCH(QString, command);
    QFETCH(bool, exit);
    const QTemporaryDir outFolder;
    const QString out = outFolder.filePath(command + u".out"_s);
    {
        QFile file(out);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Earlier) == Earlier.size());
    }
    QGuiApplication::clipboard()->setText(u"on the clipboard before"_s);
    w.window->state().settingsChanged = true; // so a close writes them
    const MainWindow::Commands &c = w.window->commands();
    QAction *action = c.preview;
    if (command == u"save") {
        w.questions->answerSaveFileName(out);
        action = c.save;
    } else if (command == u"print") {
        w.questions->answerPrint({ true, false, [=](QPrinter *printer) {
                                      printer->setOutputFormat(QPrinter::PdfFormat);
                                      printer->setOutputFileName(out);
                                  } });
        w.questions->answerText(QString());
        action = c.print;
    } else if (command == u"copy") {
        w.window->selectAll();
        action = c.copy;
    }

    QTimer::singleShot(0, w.window.get(), [this, exit] {
        if (exit)
            QTest::mouseClick(w.window->exitButton(), Qt::LeftButton);
        else
            QTest::keyClick(w.window.get(), Qt::Key_Escape);
    });
    QTest::keySequence(w.window.get(), action->shortcut());

    QVERIFY(w.questions->log().filter(u"message "_s).isEmpty());
    QCOMPARE(readAll(out), Earlier);
    QCOMPARE(QDir(outFolder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList { command + u".out"_s });
    QCOMPARE(QGuiApplication::clipboard()->text(), u"on the clipboard before"_s);
    QTEST(w.window->browser()->statusStrip()->note(), "note");
    QVERIFY(!w.window->state().previewReady || c.save->isEnabled());
    if (exit) {
        // Closed once the run has ended, with the settings written as at any close.
        QTRY_VERIFY(!w.window->isVisible());
        QVERIFY(!w.store->writes().isEmpty());
    } else {
        QVERIFY(w.window->isVisible());
        QVERIFY(w.store->writes().isEmpty());
    }
}

// Keys and clicks that arrive while a run goes on are dropped: Ctrl+S during a preview starts
// no save, a click on the folder list changes no folder.
void tst_LongRuns::inputDuringARunStartsNothing()
{
    const QString folder = w.window->browser()->currentFolder();
    QTimer::singleShot(0, w.window.get(), [this] {
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QWidget *folders = w.window->browser()->folderList()->viewport();
        QTest::mouseDClick(folders, Qt::LeftButton, {}, QPoint(20, 5));
    });
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));
    QCOMPARE(w.questions->log(), QStringList()); // no save dialog
    QCOMPARE(w.window->browser()->currentFolder(), folder);
    QCOMPARE(w.window->browser()->statusStrip()->note(), QString()); // not stopped
    QVERIFY(w.window->state().previewReady);
}

QTEST_MAIN(tst_LongRuns)
#include "tst_longruns.moc"
