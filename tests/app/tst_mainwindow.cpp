#include "browse/folderbrowserview.h"
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
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QToolButton>

#include <utime.h>

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
    void pickedLinesAreCopiedAndSaved();
    void commandKeysWhereverTheFocusIs_data();
    void commandKeysWhereverTheFocusIs();
    void toolTip_data();
    void toolTip();
    void pageSetupClosing_data();
    void pageSetupClosing();
    void fontChangeRedrawsThePreviewWhereItWasScrolled();
    void damagedSettingsLoadSoundly_data();
    void damagedSettingsLoadSoundly();
    void folderProblemsShowUntilTheNextRefresh_data();
    void folderProblemsShowUntilTheNextRefresh();
    void settingsThatCannotBeWrittenAreReported_data();
    void settingsThatCannotBeWrittenAreReported();

private:
    void clickLine(int line, Qt::KeyboardModifiers modifiers = {});

    WindowFixture w;
};

void tst_MainWindow::init()
{
    w.newFolder();
    w.makeFile(u"alpha.txt"_s, QByteArray(1000, 'a'));
    w.makeFile(u"beta.txt"_s, QByteArray(234567, 'b'));
    w.makeFile(u"gamma.doc"_s, QByteArray(1000000, 'c'));
    w.start();
    // Park the pointer where moves change nothing, away from where the last test left it.
    moveMouseTo(w.window->exitButton());
    w.store->clearLog();
}

void tst_MainWindow::clickLine(int line, Qt::KeyboardModifiers modifiers)
{
    auto *view = static_cast<QFrame *>(w.window->previewArea()->view());
    const double lineHeight = w.window->state().metrics.lineHeight;
    const QPoint at = view->contentsRect().topLeft()
        + QPoint(20, twipsToPixels(int((line + 0.5) * lineHeight)));
    QTest::mouseClick(view, Qt::LeftButton, modifiers, at);
}

void tst_MainWindow::commandsFollowTheState_data()
{
    QTest::addColumn<QString>("steps"); // done in order: typed, preview, pick, refresh
    QTest::addColumn<QString>("enabled"); // save, print, select all, copy
    QTest::addColumn<QString>("shown"); // the files in the preview
    const QString all = u"alpha.txt beta.txt gamma.doc"_s;
    QTest::newRow("listed") << QString() << u"0000"_s << QString();
    QTest::newRow("previewed, nothing picked") << u"preview"_s << u"1110"_s << all;
    QTest::newRow("picked") << u"preview pick"_s << u"1111"_s << all;
    QTest::newRow("refreshed after a pick") << u"preview pick refresh"_s << u"0000"_s << QString();
    // Ctrl+W before the typed pattern's refresh has run: the preview shows the new list.
    QTest::newRow("pattern typed, then Ctrl+W at once")
        << u"typed"_s << u"1110"_s << u"gamma.doc"_s;
}

void tst_MainWindow::commandsFollowTheState()
{
    QFETCH(QString, steps);
    if (steps.contains(u"typed")) {
        QLineEdit *pattern = w.window->browser()->patternBox()->lineEdit();
        pattern->setFocus();
        pattern->selectAll();
        QTest::keyClicks(pattern, u"*.doc"_s);
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));
    }
    if (steps.contains(u"preview"))
        QTest::mouseClick(w.window->toolButton(ToolButton::Preview), Qt::LeftButton);
    if (steps.contains(u"pick"))
        clickLine(1);
    if (steps.contains(u"refresh"))
        clickHiddenBox(*w.window);
    const auto &c = w.window->commands();
    QString enabled;
    for (const QAction *action : { c.save, c.print, c.selectAll, c.copy })
        enabled += action->isEnabled() ? u'1' : u'0';
    QTEST(enabled, "enabled");
    static const QRegularExpression fileName(u"^[a-z]+\\.(txt|doc)$"_s);
    QTEST(recordedTexts(w.window->previewArea()->picture()).filter(fileName).join(u' '), "shown");
    if (steps.contains(u"refresh")) { // the old selection stays, and picks wait for a preview
        clickLine(0);
        QCOMPARE(w.window->state().selection.selFirst, 1);
    }
}

void tst_MainWindow::pickedLinesAreCopiedAndSaved()
{
    // 6 Dec 2026 13:04:05 and exactly midnight, UTC as the tests run.
    for (const auto &[name, when] :
         { std::pair { "alpha.txt", 1796562245 }, std::pair { "beta.txt", 1796515200 },
           std::pair { "gamma.doc", 1796562245 } }) {
        const utimbuf times { when, when };
        QVERIFY(::utime(QFile::encodeName(w.folder->filePath(QLatin1StringView(name))), &times)
                == 0);
    }
    w.window->browser()->refresh();
    w.window->exitButton()->setFocus();
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));

    clickLine(2);
    clickLine(1, Qt::ShiftModifier); // above the anchor: lines 1 to 2
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(),
             QByteArray("beta.txt,  234,567, 12/6/26,   00:00:00\r\n"
                        "gamma.doc,  1,000,000, 12/6/26,   1:04:05 PM\r\n"));

    // Ctrl+S saves; asked whether the selection alone is wanted, No takes every line.
    const QString out = w.folder->filePath(QStringLiteral("catalogue.txt"));
    w.questions->answerSaveFileName(out);
    w.questions->answerYesNo(false);
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(fileBytes(out),
             "Catalog of folder " + QFile::encodeName(w.folder->path())
                 + "\r\n"
                   "alpha.txt, 1000, 12/6/26,  1:04:05 PM\r\n"
                   "beta.txt, 234567, 12/6/26,  00:00:00\r\n"
                   "gamma.doc, 1000000, 12/6/26,  1:04:05 PM\r\n");
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void tst_MainWindow::commandKeysWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("before"); // preview, pick, type PATTERN, select pattern
    QTest::addColumn<QString>("focus"); // pattern or files
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("outcome");
    const QString all = u"selected 0-2; pattern selection \"\"; clipboard alpha.txt beta.txt "
                        u"gamma.doc; asked"_s;
    QTest::newRow("pattern box, previewed: Ctrl+A and Ctrl+C copy every line")
        << u"preview"_s << u"pattern"_s << u"Ctrl+A, Ctrl+C"_s << all;
    QTest::newRow("file list, previewed: Ctrl+A and Ctrl+C copy every line")
        << u"preview"_s << u"files"_s << u"Ctrl+A, Ctrl+C"_s << all;
    QTest::newRow("pattern box, listed: Ctrl+A and Ctrl+C are the box's")
        << QString() << u"pattern"_s << u"Ctrl+A, Ctrl+C"_s
        << u"selected none; pattern selection \"*.*\"; clipboard *.*; asked"_s;
    QTest::newRow("pattern box, nothing picked: Ctrl+C is the box's")
        << u"preview, select pattern"_s << u"pattern"_s << u"Ctrl+C"_s
        << u"selected none; pattern selection \"*.*\"; clipboard *.*; asked"_s;
    QTest::newRow("file list, listed: Ctrl+C is the list's")
        << QString() << u"files"_s << u"Ctrl+C"_s
        << u"selected none; pattern selection \"\"; clipboard beta.txt; asked"_s;
    QTest::newRow("pattern typed, then Ctrl+W, Ctrl+A, Ctrl+C: the typed list's lines")
        << u"type *.txt"_s << u"pattern"_s << u"Ctrl+W, Ctrl+A, Ctrl+C"_s
        << u"selected 0-1; pattern selection \"\"; clipboard alpha.txt beta.txt; asked"_s;
    QTest::newRow("pattern typed after a preview: Ctrl+A is the box's")
        << u"preview, type *.doc"_s << u"pattern"_s << u"Ctrl+A"_s
        << u"selected none; pattern selection \"*.doc\"; clipboard ; asked"_s;
    QTest::newRow("pattern box, previewed: Ctrl+S and Ctrl+P ask")
        << u"preview"_s << u"pattern"_s << u"Ctrl+S, Ctrl+P"_s
        << u"selected none; pattern selection \"\"; clipboard ; asked save print"_s;
    QTest::newRow("pattern box, listed: Ctrl+S and Ctrl+P do nothing")
        << QString() << u"pattern"_s << u"Ctrl+S, Ctrl+P"_s
        << u"selected none; pattern selection \"\"; clipboard ; asked"_s;
    QTest::newRow("pattern box: Ctrl+G opens Page Setup")
        << QString() << u"pattern"_s << u"Ctrl+G"_s
        << u"selected none; pattern selection \"\"; clipboard ; asked page setup"_s;
}

void tst_MainWindow::commandKeysWhereverTheFocusIs()
{
    QFETCH(QString, before);
    QFETCH(QString, focus);
    QFETCH(QString, keys);
    QComboBox *patternBox = w.window->browser()->patternBox();
    QLineEdit *pattern = patternBox->lineEdit();
    QListView *files = w.window->browser()->fileList();
    if (before.contains(u"preview"))
        w.window->preview();
    QWidget *focused = focus == u"files" ? static_cast<QWidget *>(files) : pattern;
    focused->setFocus(Qt::OtherFocusReason);
    files->setCurrentIndex(files->model()->index(1, 0));
    pattern->deselect();
    if (const qsizetype at = before.indexOf(u"type "); at >= 0) {
        pattern->selectAll();
        QTest::keyClicks(pattern, before.mid(at + 5)); // its refresh is still owed
    }
    if (before.contains(u"select pattern"))
        pattern->selectAll();
    QGuiApplication::clipboard()->clear();
    w.questions->answerSaveFileName(std::nullopt);
    w.questions->answerPrint({ false });
    QStringList asked;
    if (keys.contains(u"Ctrl+G"))
        whenModal([&](QWidget *modal) {
            asked << u"page setup"_s;
            qobject_cast<QDialog *>(modal)->reject();
        });

    QTest::keySequence(focused, QKeySequence(keys));
    QCoreApplication::processEvents();

    const Selection &selection = w.window->state().selection;
    QStringList copied;
    for (const QString &line : QGuiApplication::clipboard()->text().split(u"\r\n"_s))
        copied << line.section(u',', 0, 0);
    for (const QString &question : w.questions->log())
        asked << question.section(u' ', 0, 0);
    const QString outcome = u"selected %1; pattern selection \"%2\"; clipboard %3; asked"_s.arg(
        selection.selFirst < 0 ? u"none"_s
                               : u"%1-%2"_s.arg(selection.selFirst).arg(selection.selLast),
        pattern->selectedText(), copied.join(u' ').trimmed());
    const QString result = (outcome + u' ' + asked.join(u' ')).trimmed();
    QTEST(result, "outcome");
}

void tst_MainWindow::toolTip_data()
{
    QTest::addColumn<QString>("surface"); // where the pointer goes after the tip shows
    QTest::addColumn<bool>("staysVisible");
    QTest::newRow("file list keeps it") << u"files"_s << true;
    QTest::newRow("preview hides it") << u"preview"_s << false;
}

void tst_MainWindow::toolTip()
{
    QFETCH(QString, surface);
    QFETCH(bool, staysVisible);
    QLabel *tip = w.window->toolTipPanel();
    QToolButton *save = w.window->toolButton(ToolButton::Save);
    moveMouseTo(save);
    QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 5000);
    const QRect under
        = save->geometry().translated(save->parentWidget()->mapTo(tip->parentWidget(), QPoint()));
    QVERIFY(tip->y() >= under.bottom());

    moveMouseTo(surface == u"files" ? w.window->browser()->fileList()->viewport()
                                    : w.window->previewArea()->view());
    QCOMPARE(tip->isVisible(), staysVisible);
    QCOMPARE(w.window->toolTipTimer()->isActive(), staysVisible);
}

void tst_MainWindow::pageSetupClosing_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("written"); // at exit, after the folder
    QTest::newRow("OK: the edits are written at exit")
        << true
        << u"Colour=255|Font=Liberation Serif|Bold=-1|Italic=0|Size= 48|Top Margin= 1701|"
           "Bottom Margin= 1134|Left Margin= 3000|Right Margin= 2268|Measurement=mm|"
           "Column 0= .7|Column 1= .15|Column 2= .15"_s;
    QTest::newRow("Cancel: the font stays, nothing is written") << false << QString();
}

void tst_MainWindow::pageSetupClosing()
{
    QFETCH(bool, ok);
    w.questions->answerFont(
        FontChoice { u"Liberation Serif"_s, 72, true, false, false, false, 255 });
    whenModal([ok](QWidget *modal) {
        auto &dialog = *qobject_cast<PageSetupDialog *>(modal);
        for (const auto &[field, text] : { std::pair { PageSetupField::Left, u"9"_s },
                                           { PageSetupField::Top, u"3"_s },
                                           { PageSetupField::Name, u"80"_s } }) {
            dialog.field(field)->setFocus(Qt::TabFocusReason);
            QTest::keyClicks(dialog.field(field), text + u'\t');
        }
        dialog.unitSelector()->setCurrentIndex(1);
        QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
        QTest::mouseClick(ok ? dialog.okButton() : dialog.cancelButton(), Qt::LeftButton);
    });
    w.window->exitButton()->setFocus();
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_G));
    QCOMPARE(w.window->state().catalogueFont.name, u"Liberation Serif"_s);
    QCOMPARE(w.window->state().printSettings.leftMargin, qint16(ok ? 3000 : 2268));
    QTest::mouseClick(w.window->exitButton(), Qt::LeftButton);
    QStringList lines;
    for (const auto &access : w.store->writes().mid(1))
        lines << access.key + u'=' + access.value;
    QTEST(lines.join(u'|'), "written");
    QCOMPARE(w.store->writes().isEmpty(), !ok);
}

void tst_MainWindow::fontChangeRedrawsThePreviewWhereItWasScrolled()
{
    for (int i = 0; i < 40; ++i)
        w.makeFile(QStringLiteral("more%1.txt").arg(i, 2, 10, QLatin1Char('0')), "x");
    w.window->browser()->refresh();
    w.window->preview();
    PreviewArea *area = w.window->previewArea();
    area->verticalBar()->setValue(10);

    w.questions->answerFont(
        FontChoice { QStringLiteral("Liberation Serif"), 20, false, false, false, false, 0 });
    whenModal([](QWidget *modal) {
        QTest::mouseClick(qobject_cast<PageSetupDialog *>(modal)->fontButton(), Qt::LeftButton);
        qobject_cast<PageSetupDialog *>(modal)->okButton()->click();
    });
    w.window->commands().pageSetup->trigger();
    QCOMPARE(area->picture().item(0).font.family(), u"Liberation Serif"_s);
    QCOMPARE(area->verticalBar()->value(), 10);
    QCOMPARE(area->picture().top(), -10 * w.window->state().metrics.lineHeight);
}

void tst_MainWindow::damagedSettingsLoadSoundly_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("size share beyond single precision") << u"Column 1"_s << u"-1e24"_s;
    QTest::newRow("name share 1: other columns vanish") << u"Column 0"_s << u"1"_s;
    QTest::newRow("left margin 32767") << u"Left Margin"_s << u"32767"_s;
    QTest::newRow("size far too large") << u"Size"_s << u"1e9"_s;
}

void tst_MainWindow::damagedSettingsLoadSoundly()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    MemorySettingsStore store;
    store.set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, w.folder->path());
    store.set(u"Quillmark"_s, u"StartUp"_s, key, text);
    MainWindow window(store, *w.questions);
    window.load();
    window.preview(); // drawn in full, names and sizes not cut short
    const QStringList texts = recordedTexts(window.previewArea()->picture());
    for (const QString &whole : { u"gamma.doc"_s, u"1,000,000"_s })
        QVERIFY2(texts.contains(whole), qPrintable(texts.join(u'|')));
}

void tst_MainWindow::folderProblemsShowUntilTheNextRefresh_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shownFolder"); // below the scratch folder
    QTest::newRow("unreadable, mode 000")
        << u"mode 000"_s << u"Cannot read this folder: permission denied"_s << u"/closed"_s;
    QTest::newRow("deleted while shown")
        << u"deleted"_s << u"The folder is gone; showing its parent"_s << QString();
}

void tst_MainWindow::folderProblemsShowUntilTheNextRefresh()
{
    QFETCH(QString, problem);
    QFETCH(QString, status);
    QFETCH(QString, shownFolder);
    const bool permissions = problem.startsWith(u"mode");
    if (permissions && ::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    test::ScratchFolder scratch;
    QVERIFY(scratch.isValid());
    const QString root = scratch.text(), closed = root + u"/closed"_s;
    QVERIFY(QDir(root).mkpath(u"closed"_s));
    QFile(closed + u"/inside.txt"_s).open(QIODevice::WriteOnly);
    QFile(root + u"/kept.txt"_s).open(QIODevice::WriteOnly);

    MemorySettingsStore store;
    store.set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, root);
    MainWindow window(store, *w.questions);
    window.load();
    FolderBrowserView *browser = window.browser();
    QLabel *panel = browser->statusStrip()->statusPanel();
    if (permissions)
        QCOMPARE(::chmod(QFile::encodeName(closed).constData(), 0), 0);
    QListView *folders = browser->folderList(); // picked there
    const QModelIndexList found = folders->model()->match(
        folders->model()->index(0, 0), Qt::DisplayRole, u"closed"_s, 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    emit folders->activated(found.first());
    if (!permissions) {
        QVERIFY(QDir(closed).removeRecursively());
        clickHiddenBox(window);
    }
    QCOMPARE(browser->currentFolder(), root + shownFolder);
    QCOMPARE(panel->text(), status);
    // A long operation puts its word there meanwhile; the problem stands until a refresh.
    if (permissions) {
        QCOMPARE(::chmod(QFile::encodeName(closed).constData(), 0755), 0);
    } else {
        window.preview();
        QCOMPARE(panel->text(), status);
    }
    clickHiddenBox(window);
    QCOMPARE(panel->text(), QString());
    QCOMPARE(browser->statusStrip()->fileCountPanel()->text(), u"1"_s);
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
    test::ScratchFolder config;
    QVERIFY(config.isValid());
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
    QFile blocking(fileForFolder ? folder : fileName);
    QVERIFY(blocking.open(QIODevice::WriteOnly));
    blocking.write(earlier);
    blocking.close();
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
        QCOMPARE(fileBytes(blocking.fileName()), earlier);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
