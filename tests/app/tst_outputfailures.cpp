// Long commands through the real window where the output cannot be written or the user stops
// the run: one message that says why, the earlier file byte for byte, nothing blocks, and
// Exit closes the window once the run has ended.
#include "browse/statusstrip.h"
#include "support/scratchfolder.h"
#include "support/watchdog.h"
#include "windowfixture.h"

#include <QAction>
#include <QClipboard>
#include <QListView>
#include <QPushButton>

#include <csignal>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

const QByteArray Earlier = "the earlier catalogue\n";

} // namespace

class tst_OutputFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        w.pin();
        std::signal(SIGXFSZ, SIG_IGN); // the file size limit must give an error, not end the test
    }
    void init();
    void cleanup() { w.finish(); }

    void output_data();
    void output();

private:
    WindowFixture w;
};

void tst_OutputFailures::init()
{
    w.newFolder();
    w.makeFiles(3000, "0123456789"); // a catalogue file and a PDF of more than 64 KiB each
    w.start();
    w.window->preview();
}

void tst_OutputFailures::output_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("place"); // of the output, or how the run is stopped
    QTest::addColumn<QString>("said"); // in the one message, or the status panel after a stop
    for (const QString &command : { u"save"_s, u"print"_s }) {
        const char *output = command == u"save" ? "save" : "print to file";
        QTest::addRow("%s: disk fills up part-way", output)
            << command << u"full"_s << u"No space left on device"_s;
        QTest::addRow("%s: fifo", output)
            << command << u"fifo"_s << u"It is a named pipe (FIFO), not a regular file."_s;
        QTest::addRow("%s: character device", output)
            << command << u"device"_s << u"It is a character device, not a regular file."_s;
        QTest::addRow("%s: folder", output)
            << command << u"folder"_s << u"It is a folder, not a file."_s;
    }
    // A link to a PDF file is the replacing file's, in the output file tests.
    QTest::newRow("save: link to a file is written through") << u"save"_s << u"link"_s << QString();
    const QString saved = u"Save stopped; nothing was written"_s;
    const QString printed = u"Printing stopped; nothing was written"_s;
    QTest::newRow("Save, Escape") << u"save"_s << u"Escape"_s << saved;
    QTest::newRow("Print to a file, Escape") << u"print"_s << u"Escape"_s << printed;
    QTest::newRow("Print to a file, Exit") << u"print"_s << u"Exit"_s << printed;
    QTest::newRow("Preview, Escape")
        << u"preview"_s << u"Escape"_s << u"Preview stopped at line 0 of 3,000"_s;
    QTest::newRow("Copy after Select All, Escape")
        << u"copy"_s << u"Escape"_s << u"Copy stopped; the clipboard is unchanged"_s;
}

void tst_OutputFailures::output()
{
    QFETCH(QString, command);
    QFETCH(QString, place);
    QFETCH(QString, said);
    ScratchFolder out;
    QVERIFY(out.isValid());
    const QByteArray suffix = command == u"print" ? ".pdf" : ".txt";
    // A disk that fills up part-way is a 64 KiB tmpfs where the test may mount one, else a
    // limit of 64 KiB on the size of the files this process writes.
    const bool full = place == u"full", stopped = place == u"Escape" || place == u"Exit";
    const bool special = place == u"fifo" || place == u"device" || place == u"folder";
    const QString shown = w.window->browser()->currentFolder();
    const QByteArray folder = full ? out.path() + "/small" : out.path();
    const bool mounted = full && ::mkdir(folder.constData(), 0777) == 0
        && ::mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
    const auto unmount = qScopeGuard([&] {
        if (mounted)
            ::umount2(folder.constData(), MNT_DETACH);
    });
    if (full && !mounted)
        said = u"File too large"_s;
    QByteArray path = folder + "/out" + suffix;
    QByteArray written = path; // the file that holds the earlier catalogue
    QStringList left { u"out"_s + QLatin1StringView(suffix) };
    if (place == u"fifo") {
        QVERIFY(::mkfifo(path.constData(), 0644) == 0);
    } else if (place == u"device") {
        // A twin of /dev/null where the test may make one; else the real one.
        if (::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            path = "/dev/null";
            left.clear();
        }
    } else if (place == u"folder") {
        QVERIFY(::mkdir(path.constData(), 0755) == 0);
    } else if (place == u"link") {
        written = out.path() + "/linked" + suffix;
        QVERIFY(::symlink(written.constData(), path.constData()) == 0);
        left.prepend(u"linked"_s + QLatin1StringView(suffix));
    } else if (stopped) {
        // Pressed as the run takes in its first events: it stops on its first line, and
        // nothing else pressed with it starts a command meanwhile or acts after the run.
        QTimer::singleShot(0, w.window.get(), [this, place] {
            if (place == u"Exit")
                QTest::mouseClick(w.window->exitButton(), Qt::LeftButton);
            else
                QTest::keyClick(w.window.get(), Qt::Key_Escape);
            QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
            QListView *folders = w.window->browser()->folderList(); // "/" first
            const QPoint root = folders->visualRect(folders->model()->index(0, 0)).center();
            QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, root);
            QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, root);
        });
    }
    if (!special)
        QVERIFY(writeFile(QFile::decodeName(written), Earlier));
    const QString fileName = QFile::decodeName(path);
    QGuiApplication::clipboard()->setText(u"on the clipboard before"_s);
    w.window->state().settingsChanged = true; // so that a close writes them

    const MainWindow::Commands &c = w.window->commands();
    QAction *action = command == u"save" ? c.save : command == u"print" ? c.print : c.preview;
    if (command == u"save")
        w.questions->answerSaveFileName(fileName);
    if (command == u"print")
        w.questions->answerPrint(toPdf(fileName));
    if (command == u"print" && (full || stopped))
        w.questions->answerText(QString()); // the header box: the run got that far
    if (command == u"copy") {
        w.window->selectAll();
        action = c.copy;
    }
    rlimit unlimited {};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit small { full && !mounted ? 64 * 1024 : unlimited.rlim_cur, unlimited.rlim_max };
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool blocked = false;
    {
        const Watchdog watchdog(path);
        QTest::keySequence(w.window.get(), action->shortcut());
        blocked = watchdog.blocked();
    }
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    QVERIFY2(!blocked, "the command waited for a reader of the file");

    const QStringList messages = w.questions->log().filter(u"message "_s);
    if (!special && !full) {
        QCOMPARE(messages, QStringList());
        QCOMPARE(w.window->browser()->statusStrip()->note(), said);
    } else {
        QCOMPARE(messages.size(), 1);
        for (const QString &part : { said, fileName })
            QVERIFY2(messages[0].contains(part), qPrintable(messages[0]));
    }
    if (place == u"link")
        QVERIFY(fileBytes(QFile::decodeName(written)).startsWith("Catalog of folder"));
    else if (!special)
        QCOMPARE(fileBytes(QFile::decodeName(written)), Earlier);
    if (full)
        QVERIFY(messages[0].contains(u"The earlier file of that name is unchanged."_s));
    QCOMPARE(QGuiApplication::clipboard()->text(), u"on the clipboard before"_s);
    QCOMPARE(w.questions->log().isEmpty(), command == u"preview" || command == u"copy");
    QCOMPARE(w.window->browser()->currentFolder(), shown);
    QVERIFY(!w.window->state().previewReady || c.save->isEnabled());
    // Nothing was put in the place of what was there, and nothing is left beside it.
    QCOMPARE(QFileInfo(fileName).isFile(), !special);
    QCOMPARE(entriesOf(QFile::decodeName(folder)), left);
    // Exit closes the window once the run has ended, with the settings written as at any close.
    if (place == u"Exit")
        QTRY_VERIFY(!w.window->isVisible());
    QCOMPARE(w.store->writes().isEmpty(), place != u"Exit");
}

QTEST_MAIN(tst_OutputFailures)
#include "tst_outputfailures.moc"
