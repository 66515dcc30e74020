#include "browse/statusstrip.h"
#include "pagesetup/pagesetupdialog.h"
#include "platform/twips.h"
#include "support/scratchfolder.h"
#include "windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QToolButton>

using namespace qm;
using namespace qm::test;
using namespace Qt::StringLiterals;

namespace {

void moveMouseTo(QWidget *widget)
{
    QTest::mouseMove(widget, widget->rect().center());
    QCoreApplication::processEvents();
}

void clickHiddenBox(MainWindow &window) // any refresh
{
    QTest::mouseClick(window.browser()->attributeBox(FolderBrowserView::HiddenBox), Qt::LeftButton);
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { w.pin(); }
    void init();
    void cleanup() { w.finish(); }

    void commandsFollowTheState_data();
    void commandsFollowTheState();
    void toolTip();
    void pageSetupClosing();
    void folderProblemsShowUntilTheNextRefresh_data();
    void folderProblemsShowUntilTheNextRefresh();
    void settingsThatCannotBeWrittenAreReported_data();
    void settingsThatCannotBeWrittenAreReported();

private:
    WindowFixture w;
};

void tst_MainWindow::init()
{
    w.newFolder();
    for (const QString &name : { u"alpha.txt"_s, u"beta.txt"_s, u"gamma.doc"_s })
        QVERIFY(writeFile(w.folder->filePath(name), name.toUtf8()));
    w.start();
    // Park the pointer where moves change nothing, away from where the last test left it.
    moveMouseTo(w.window->exitButton());
    w.store->clearLog();
}

void tst_MainWindow::commandsFollowTheState_data()
{
    QTest::addColumn<QString>("steps"); // in the pattern box: keys, or what the user does
    QTest::addColumn<QString>("outcome"); // enabled: Save, Print, Select All, Copy
    const QString all = u"alpha.txt beta.txt gamma.doc"_s;
    QTest::newRow("refreshed after a pick: picks wait for a preview")
        << u"Preview, pick 1, refresh, pick 0"_s << u"enabled 0000; selected 1-1"_s;
    QTest::newRow("pattern typed, then Preview at once: the new list")
        << u"type *.doc, Preview"_s << u"enabled 1110; shown 1"_s;
    // An enabled command's key wherever the focus is; a disabled one's stays with the box.
    QTest::newRow("previewed: Ctrl+A and Ctrl+C copy every line")
        << u"Ctrl+W, Ctrl+A, Ctrl+C"_s << u"enabled 1111; shown 3; selected 0-2; copied "_s + all;
    QTest::newRow("listed: Ctrl+A and Ctrl+C are the box's")
        << u"Ctrl+A, Ctrl+C"_s << u"enabled 0000; box \"*.*\"; copied *.*"_s;
    QTest::newRow("nothing picked: Ctrl+C is the box's")
        << u"Ctrl+W, Home, Shift+End, Ctrl+C"_s
        << u"enabled 1110; shown 3; box \"*.*\"; copied *.*"_s;
    QTest::newRow("pattern typed, then Ctrl+W, Ctrl+A, Ctrl+C: the typed list's lines")
        << u"type *.txt, Ctrl+W, Ctrl+A, Ctrl+C"_s
        << u"enabled 1111; shown 2; selected 0-1; copied alpha.txt beta.txt"_s;
    QTest::newRow("pattern typed after a preview: Ctrl+A is the box's")
        << u"Ctrl+W, type *.doc, Ctrl+A"_s << u"enabled 0000; box \"*.doc\""_s;
    QTest::newRow("picked upwards, copied; saved after No to the selection alone: every line")
        << u"Ctrl+W, pick 2, Shift+pick 1, Ctrl+C, Ctrl+S"_s
        << u"enabled 1111; shown 3; selected 1-2; copied beta.txt gamma.doc; asked save yesno; "
           "saved "_s
            + all;
}

void tst_MainWindow::commandsFollowTheState()
{
    QFETCH(QString, steps);
    QLineEdit *pattern = w.window->browser()->patternBox()->lineEdit();
    pattern->setFocus(Qt::OtherFocusReason);
    pattern->deselect();
    QGuiApplication::clipboard()->clear();
    const QString saved = w.folder->filePath(u"saved.txt"_s);
    if (steps.contains(u"Ctrl+S")) {
        w.questions->answerSaveFileName(saved);
        if (steps.contains(u"pick"))
            w.questions->answerYesNo(false);
    }
    for (const QString &step : steps.split(u", "_s, Qt::SkipEmptyParts)) {
        if (step == u"Preview") {
            QTest::mouseClick(w.window->toolButton(ToolButton::Preview), Qt::LeftButton);
        } else if (step.contains(u"pick ")) {
            auto *view = static_cast<QFrame *>(w.window->previewArea()->view());
            const double line = step.section(u' ', -1).toInt() + 0.5;
            const QPoint at = view->contentsRect().topLeft()
                + QPoint(20, twipsToPixels(int(line * w.window->state().metrics.lineHeight)));
            QTest::mouseClick(view, Qt::LeftButton,
                              step.startsWith(u"Shift") ? Qt::ShiftModifier : Qt::NoModifier, at);
        } else if (step == u"refresh") {
            clickHiddenBox(*w.window);
        } else if (step.startsWith(u"type ")) { // its refresh is still owed
            pattern->selectAll();
            QTest::keyClicks(pattern, step.mid(5));
        } else {
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(step));
        }
    }
    QCoreApplication::processEvents();

    const auto &c = w.window->commands();
    QString enabled;
    for (const QAction *action : { c.save, c.print, c.selectAll, c.copy })
        enabled += action->isEnabled() ? u'1' : u'0';
    QStringList outcome { u"enabled "_s + enabled };
    static const QRegularExpression fileName(u"^[a-z]+\\.(txt|doc)$"_s);
    if (const qsizetype shown
        = recordedTexts(w.window->previewArea()->picture()).filter(fileName).size())
        outcome << u"shown %1"_s.arg(shown);
    if (const Selection &s = w.window->state().selection; s.selFirst >= 0)
        outcome << u"selected %1-%2"_s.arg(s.selFirst).arg(s.selLast);
    if (pattern->hasSelectedText())
        outcome << u"box \"%1\""_s.arg(pattern->selectedText());
    const auto names = [](QString lines) { // the first field of each line
        return lines.replace(QRegularExpression(u",[^\r]*\r\n"_s), u" "_s).trimmed();
    };
    if (const QString copied = QGuiApplication::clipboard()->text(); !copied.isEmpty())
        outcome << u"copied "_s + names(copied);
    QStringList asked;
    for (const QString &question : w.questions->log())
        asked << question.section(u' ', 0, 0);
    if (!asked.isEmpty())
        outcome << u"asked "_s + asked.join(u' ');
    if (QFile::exists(saved))
        outcome << u"saved "_s + names(QString::fromUtf8(fileBytes(saved)).section(u"\r\n"_s, 1));
    QTEST(outcome.join(u"; "_s), "outcome");
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

// The window draws its own tip under a tool button: moves over the file list keep it, a move
// over the preview hides it.
void tst_MainWindow::toolTip()
{
    QLabel *tip = w.window->toolTipPanel();
    QToolButton *save = w.window->toolButton(ToolButton::Save);
    moveMouseTo(save);
    QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 5000);
    const QRect under
        = save->geometry().translated(save->parentWidget()->mapTo(tip->parentWidget(), QPoint()));
    QVERIFY(tip->y() >= under.bottom());
    for (QWidget *surface :
         { w.window->browser()->fileList()->viewport(), w.window->previewArea()->view() }) {
        moveMouseTo(surface);
        const bool staysVisible = surface != w.window->previewArea()->view();
        QCOMPARE(tip->isVisible(), staysVisible);
        QCOMPARE(w.window->toolTipTimer()->isActive(), staysVisible);
    }
}

// Page Setup through the window: the font chosen redraws the preview where it was scrolled,
// and what OK keeps is written at exit. What Cancel keeps is Page Setup's own test.
void tst_MainWindow::pageSetupClosing()
{
    w.makeFiles(40);
    w.window->browser()->refresh();
    w.window->preview();
    w.window->state().settingsChanged = false; // the refresh is not under test
    PreviewArea *area = w.window->previewArea();
    area->verticalBar()->setValue(10);
    w.questions->answerFont(
        FontChoice { u"Liberation Serif"_s, 72, true, false, false, false, 255 });
    whenModal([](QWidget *modal) {
        auto &dialog = *qobject_cast<PageSetupDialog *>(modal);
        dialog.field(PageSetupField::Left)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(dialog.field(PageSetupField::Left), u"9\t"_s);
        QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    w.window->exitButton()->setFocus();
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_G));
    QCOMPARE(area->picture().item(0).font.family(), u"Liberation Serif"_s);
    QCOMPARE(area->verticalBar()->value(), 10);
    QCOMPARE(area->picture().top(), -10 * w.window->state().metrics.lineHeight);

    QTest::mouseClick(w.window->exitButton(), Qt::LeftButton);
    QCOMPARE(w.store->writtenLines().mid(1).join(u'|'),
             u"Colour=255|Font=Liberation Serif|Bold=-1|Italic=0|Size= 48|Top Margin= 1134|"
             "Bottom Margin= 1134|Left Margin= 3000|Right Margin= 2268|Measurement=cm|"
             "Column 0= .6|Column 1= .15|Column 2= .25"_s);
}

void tst_MainWindow::folderProblemsShowUntilTheNextRefresh_data()
{
    QTest::addColumn<bool>("deleted"); // or unreadable, mode 000
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("files"); // counted once the problem is gone
    QTest::newRow("unreadable, mode 000")
        << false << u"Cannot read this folder: permission denied"_s << u"1"_s;
    QTest::newRow("deleted while shown")
        << true << u"The folder is gone; showing its parent"_s << u"3"_s;
}

void tst_MainWindow::folderProblemsShowUntilTheNextRefresh()
{
    QFETCH(bool, deleted);
    QFETCH(QString, status);
    if (!deleted && ::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    const QString closed = w.folder->filePath(u"closed"_s);
    const QByteArray closedName = QFile::encodeName(closed);
    QVERIFY(QDir(w.folder->path()).mkdir(u"closed"_s) && writeFile(closed + u"/inside.txt"_s, {}));
    w.window->browser()->refresh(); // lists it among the sub-folders
    if (!deleted)
        QCOMPARE(::chmod(closedName.constData(), 0), 0);
    openFolder(*w.window, u"closed"_s);
    if (deleted) {
        QVERIFY(QDir(closed).removeRecursively());
        clickHiddenBox(*w.window);
    }
    const StatusStrip *strip = w.window->browser()->statusStrip();
    QCOMPARE(w.window->browser()->currentFolder(), deleted ? w.folder->path() : closed);
    QCOMPARE(strip->statusPanel()->text(), status);
    // A long operation puts its word there meanwhile; the problem stands until a refresh.
    if (deleted) {
        w.window->preview();
        QCOMPARE(strip->statusPanel()->text(), status);
    } else {
        QCOMPARE(::chmod(closedName.constData(), 0755), 0);
    }
    clickHiddenBox(*w.window);
    QCOMPARE(strip->statusPanel()->text(), QString());
    QTEST(strip->fileCountPanel()->text(), "files");
}

void tst_MainWindow::settingsThatCannotBeWrittenAreReported_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("reason"); // empty: written without a word
    QTest::newRow("damaged earlier file: rewritten silently") << u"damaged"_s << QString();
    QTest::newRow("damaged earlier file in a read-only folder")
        << u"damaged, read-only folder"_s << u"Permission denied."_s;
    QTest::newRow("read-only settings file") << u"read-only file"_s << u"Permission denied."_s;
    QTest::newRow("a file where the folder should be")
        << u"file for folder"_s << u"%1/Quillmark is a file, not a folder."_s;
}

void tst_MainWindow::settingsThatCannotBeWrittenAreReported()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, reason);
    if (obstacle.contains(u"read-only") && ::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    const ScratchFolder config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.text());
    const auto restorePath = qScopeGuard([this] {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, w.settingsDir.path());
    });
    const QString folder = config.text() + u"/Quillmark"_s;
    const QString fileName = folder + u"/Quillmark.ini"_s;
    const bool fileForFolder = obstacle == u"file for folder";
    QByteArray earlier = "[StartUp]\nFolder=" + QFile::encodeName(w.folder->path())
        + "\nColour=255\n[Start\n\xff\xfe\x01 no equals sign\n\"Size=\n";
    QVERIFY(fileForFolder || QDir().mkpath(folder));
    const QString blocking = fileForFolder ? folder : fileName;
    QVERIFY(writeFile(blocking, earlier));
    if (obstacle.endsWith(u"read-only folder"))
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    if (obstacle == u"read-only file")
        QCOMPARE(::chmod(QFile::encodeName(fileName).constData(), 0444), 0);

    {
        IniSettingsStore store;
        ScriptedQuestions questions;
        MainWindow window(store, questions);
        window.load();
        window.show();
        clickHiddenBox(window); // makes the run's settings worth writing
        window.close();
        const QString text = u"Quillmark could not save its settings in\n"_s + fileName + u"\n\n"_s
            + QString(reason).replace(u"%1"_s, config.text());
        QCOMPARE(questions.log().join(u'|'),
                 reason.isEmpty() ? QString()
                                  : u"message \"Quillmark\" "_s + ScriptedQuestions::quoted(text));
    }
    // Nothing was written behind the user's back either when the store went.
    if (reason.isEmpty())
        QVERIFY(fileBytes(fileName).contains("Measurement=cm")
                && fileBytes(fileName).contains("Colour=255"));
    else
        QCOMPARE(fileBytes(blocking), earlier);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
