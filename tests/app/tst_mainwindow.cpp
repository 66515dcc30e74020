#include "about/splashwindow.h"
#include "app/mainwindow.h"
#include "app/settings.h"
#include "browse/folderbrowserview.h"
#include "browse/statusstrip.h"
#include "catalogue/previewarea.h"
#include "pagesetup/pagesetupdialog.h"
#include "platform/scratchfolder.h"
#include "platform/scriptedquestions.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <utime.h>

using namespace qm;
using namespace Qt::StringLiterals;

namespace {
QStringList recordedTexts(const PreviewPicture &picture)
{
    QStringList texts;
    for (qint64 i = 0; i < picture.itemCount(); ++i)
        texts << picture.item(i).text;
    return texts;
}

// Runs \a act on the Page Setup dialog once its modal loop runs; call it before opening.
void whenPageSetupOpens(std::function<void(PageSetupDialog &)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        if (auto *dialog = qobject_cast<PageSetupDialog *>(QApplication::activeModalWidget())) {
            QApplication::setActiveWindow(dialog);
            act(*dialog);
        }
    });
}

void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

// Opens the sub-folder \a name of the folder shown, as a pick in the folder list does.
bool openSubFolder(MainWindow &window, const QString &name)
{
    QListView *folders = window.browser()->folderList();
    const QModelIndexList found = folders->model()->match(
        folders->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    if (found.size() != 1)
        return false;
    emit folders->activated(found.first());
    return true;
}

// The run's settings as they would be written at exit, one "Key=value" each.
QStringList settingsAsSaved(const MainWindow &window)
{
    StoredSettings stored;
    stored.folder = window.browser()->currentFolder();
    stored.colour = window.state().catalogueColour;
    stored.font = window.state().catalogueFont;
    stored.print = window.state().printSettings;
    MemorySettingsStore memory;
    saveSettings(memory, stored);
    QStringList lines;
    for (const auto &access : memory.writes())
        lines << access.key + u'=' + access.value;
    return lines;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}
} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsInTheListedState();
    void disabledCommandsIgnoreTheirShortcuts_data();
    void disabledCommandsIgnoreTheirShortcuts();
    void enabledCommandsAnswerTheirShortcuts();
    void helpOpensTheHelp();
    void toolTipAppearsUnderTheButtonItRestsOn();
    void toolTipFollowsToAnotherButtonWithoutHiding();
    void toolTipSurfaces_data();
    void toolTipSurfaces();
    void exitClosesTheSplashToo();
    void closingAfterNothingChangedWritesNothing();
    void closingAfterAFolderChangeWritesEveryKey();
    void previewDrawsEveryFileAndEntersThePreviewedState();
    void everyRefreshReturnsToTheListedState();
    void pickedLinesAreCopiedAndSaved();
    void pageSetupOpensModally_data();
    void pageSetupOpensModally();
    void pageSetupEditsAreWrittenAtExit();
    void cancelledPageSetupKeepsTheFontButWritesNothing();
    void fontChangeRedrawsThePreviewWhereItWasScrolled();
    void damagedSettingsLoadSoundly_data();
    void damagedSettingsLoadSoundly();
    void folderProblemsShowUntilTheNextRefresh_data();
    void folderProblemsShowUntilTheNextRefresh();
    void settingsThatCannotBeWrittenAreReported_data();
    void settingsThatCannotBeWrittenAreReported();

private:
    void makeFile(const QString &name, const QByteArray &content);
    QWidget *widgetAtTwips(int left, int top) const;
    void moveMouseTo(QWidget *widget);
    void clickLine(int line, Qt::KeyboardModifiers modifiers = {});

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MemorySettingsStore> m_store;
    std::unique_ptr<ScriptedQuestions> m_questions;
    std::unique_ptr<MainWindow> m_window;
};

void tst_MainWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void tst_MainWindow::makeFile(const QString &name, const QByteArray &content)
{
    QFile file(m_folder->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void tst_MainWindow::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    makeFile(QStringLiteral("alpha.txt"), QByteArray(1000, 'a'));
    makeFile(QStringLiteral("beta.txt"), QByteArray(234567, 'b'));
    makeFile(QStringLiteral("gamma.doc"), QByteArray(1000000, 'c'));
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("inner")));

    m_store = std::make_unique<MemorySettingsStore>();
    m_store->set(QStringLiteral("Quillmark"), QStringLiteral("StartUp"), QStringLiteral("Folder"),
                 m_folder->path());
    m_questions = std::make_unique<ScriptedQuestions>();
    m_window = std::make_unique<MainWindow>(*m_store, *m_questions);
    m_window->load();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // Park the pointer where moves change nothing, away from where the last test left it.
    moveMouseTo(m_window->exitButton());
    m_store->clearLog();
}

void tst_MainWindow::cleanup()
{
    if (m_window)
        m_window->close();
    m_window.reset();
    QCOMPARE(m_questions->unexpectedCount(), 0);
}

QWidget *tst_MainWindow::widgetAtTwips(int left, int top) const
{
    QWidget *client = m_window->centralWidget();
    return client->childAt(twipsToPixels(left), twipsToPixels(top));
}

void tst_MainWindow::moveMouseTo(QWidget *widget)
{
    QTest::mouseMove(widget, widget->rect().center());
    QCoreApplication::processEvents();
}

void tst_MainWindow::startsInTheListedState()
{
    const auto &c = m_window->commands();
    QVERIFY(!c.copy->isEnabled());
    QVERIFY(!c.print->isEnabled());
    QVERIFY(!c.save->isEnabled());
    QVERIFY(!c.selectAll->isEnabled());
    QVERIFY(c.preview->isEnabled());
    QVERIFY(c.pageSetup->isEnabled());
    QVERIFY(c.help->isEnabled());
    QVERIFY(c.about->isEnabled());
    QVERIFY(!m_window->toolButton(ToolButton::Copy)->isEnabled());
    QVERIFY(!m_window->toolButton(ToolButton::Save)->isEnabled());
    QVERIFY(m_window->toolButton(ToolButton::Preview)->isEnabled());

    FolderBrowserView *browser = m_window->browser();
    QCOMPARE(browser->patternBox()->currentText(), QStringLiteral("*.*"));
    for (int box = FolderBrowserView::NormalBox; box <= FolderBrowserView::ArchiveBox; ++box)
        QCOMPARE(browser->attributeBox(FolderBrowserView::AttributeBox(box))->checkState(),
                 Qt::Checked);
    QCOMPARE(browser->statusStrip()->fileCountPanel()->text().trimmed(), QStringLiteral("3"));
    QCOMPARE(browser->statusStrip()->byteTotalPanel()->text().trimmed(),
             QStringLiteral("1,235,567"));
    QVERIFY(!m_window->state().settingsChanged);
    QVERIFY(!m_window->state().previewReady);
    QVERIFY(!m_window->toolTipPanel()->isVisible());
}

void tst_MainWindow::disabledCommandsIgnoreTheirShortcuts_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("command");
    QTest::newRow("Ctrl+S save") << QKeySequence(Qt::CTRL | Qt::Key_S) << QStringLiteral("save");
    QTest::newRow("Ctrl+P print") << QKeySequence(Qt::CTRL | Qt::Key_P) << QStringLiteral("print");
    QTest::newRow("Ctrl+C copy") << QKeySequence(Qt::CTRL | Qt::Key_C) << QStringLiteral("copy");
    QTest::newRow("Ctrl+A select all")
        << QKeySequence(Qt::CTRL | Qt::Key_A) << QStringLiteral("selectAll");
}

void tst_MainWindow::disabledCommandsIgnoreTheirShortcuts()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, command);
    const auto &c = m_window->commands();
    QAction *action = command == u"save" ? c.save
        : command == u"print"            ? c.print
        : command == u"copy"             ? c.copy
                                         : c.selectAll;
    QSignalSpy triggered(action, &QAction::triggered);
    m_window->exitButton()->setFocus();
    QTest::keySequence(m_window.get(), keys);
    QCOMPARE(triggered.count(), 0);
    QVERIFY(!action->isEnabled());
}

void tst_MainWindow::enabledCommandsAnswerTheirShortcuts()
{
    const auto &c = m_window->commands();
    QSignalSpy preview(c.preview, &QAction::triggered);
    QSignalSpy pageSetup(c.pageSetup, &QAction::triggered);
    m_window->exitButton()->setFocus();
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));
    QCOMPARE(preview.count(), 1);
    QVERIFY(m_window->state().previewReady);
    whenPageSetupOpens([](PageSetupDialog &dialog) { dialog.okButton()->click(); });
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_G));
    QCOMPARE(pageSetup.count(), 1);
}

void tst_MainWindow::helpOpensTheHelp()
{
    m_window->exitButton()->setFocus();
    QTest::keyClick(m_window.get(), Qt::Key_F1);
    QCOMPARE(m_questions->log(), QStringList { QStringLiteral("help") });
    m_questions->clearLog();
    QTest::mouseClick(m_window->toolButton(ToolButton::Help), Qt::LeftButton);
    QCOMPARE(m_questions->log(), QStringList { QStringLiteral("help") });
}

void tst_MainWindow::toolTipAppearsUnderTheButtonItRestsOn()
{
    QLabel *tip = m_window->toolTipPanel();
    moveMouseTo(m_window->toolButton(ToolButton::Preview));
    QVERIFY(m_window->toolTipTimer()->isActive());
    QCOMPARE(m_window->toolTipTimer()->interval(), 500);
    QVERIFY(!tip->isVisible()); // armed, not yet shown

    QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 5000);
    QCOMPARE(tip->text(), QStringLiteral(" Preview "));
    QCOMPARE(tip->pos(), QPoint(twipsToPixels(2025), twipsToPixels(560)));
    QCOMPARE(tip->size(), QSize(twipsToPixels(735), twipsToPixels(255)));
    QVERIFY(m_window->toolTipTimer()->isActive()); // the tick does not stop it
}

void tst_MainWindow::toolTipFollowsToAnotherButtonWithoutHiding()
{
    QLabel *tip = m_window->toolTipPanel();
    moveMouseTo(m_window->toolButton(ToolButton::Preview));
    QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 5000);

    moveMouseTo(m_window->toolButton(ToolButton::Help));
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), QStringLiteral(" Preview "));
    QTRY_COMPARE_WITH_TIMEOUT(tip->text(), QStringLiteral(" Help "), 5000);
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->x(), twipsToPixels(6720));
}

void tst_MainWindow::toolTipSurfaces_data()
{
    QTest::addColumn<QString>("surface");
    QTest::addColumn<bool>("staysVisible");
    QTest::newRow("file list keeps it") << QStringLiteral("files") << true;
    QTest::newRow("check box keeps it") << QStringLiteral("checkbox") << true;
    QTest::newRow("Exit button keeps it") << QStringLiteral("exit") << true;
    QTest::newRow("preview hides it") << QStringLiteral("preview") << false;
    QTest::newRow("window background hides it") << QStringLiteral("background") << false;
    QTest::newRow("bare tool bar hides it") << QStringLiteral("toolbar") << false;
}

void tst_MainWindow::toolTipSurfaces()
{
    QFETCH(QString, surface);
    QFETCH(bool, staysVisible);
    QLabel *tip = m_window->toolTipPanel();
    moveMouseTo(m_window->toolButton(ToolButton::Save));
    QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 5000);

    if (surface == u"files") {
        moveMouseTo(m_window->browser()->fileList()->viewport());
    } else if (surface == u"checkbox") {
        moveMouseTo(m_window->browser()->attributeBox(FolderBrowserView::HiddenBox));
    } else if (surface == u"exit") {
        moveMouseTo(m_window->exitButton());
    } else if (surface == u"preview") {
        moveMouseTo(m_window->previewArea()->view());
    } else if (surface == u"background") {
        // Between the check boxes and the pattern box nothing covers the window.
        QWidget *client = m_window->centralWidget();
        const QPoint at(twipsToPixels(4150), twipsToPixels(4000));
        QCOMPARE(client->childAt(at), nullptr);
        QTest::mouseMove(client, at);
    } else {
        QWidget *bar = m_window->toolBar();
        const QPoint at(twipsToPixels(4000), twipsToPixels(200));
        QCOMPARE(bar->childAt(at), nullptr);
        QTest::mouseMove(bar, at);
    }
    QCoreApplication::processEvents();
    QCOMPARE(tip->isVisible(), staysVisible);
    QCOMPARE(m_window->toolTipTimer()->isActive(), staysVisible);
}

void tst_MainWindow::exitClosesTheSplashToo()
{
    QPointer<SplashWindow> splash = new SplashWindow;
    splash->showAndPaint();
    QVERIFY(splash->isVisible());
    QTest::mouseClick(m_window->exitButton(), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    QTRY_VERIFY(splash.isNull());
}

void tst_MainWindow::closingAfterNothingChangedWritesNothing()
{
    // Settings that differ from the defaults stay untouched by a run that changes nothing.
    QTest::mouseClick(m_window->exitButton(), Qt::LeftButton);
    QVERIFY(m_store->writes().isEmpty());
}

void tst_MainWindow::closingAfterAFolderChangeWritesEveryKey()
{
    QVERIFY(openSubFolder(*m_window, QStringLiteral("inner")));
    QCOMPARE(m_window->browser()->currentFolder(), m_folder->filePath(QStringLiteral("inner")));
    QVERIFY(m_window->state().settingsChanged);

    QTest::mouseClick(m_window->exitButton(), Qt::LeftButton);
    // Every key is written (their texts are the settings tests' business), the new folder first.
    const auto &writes = m_store->writes();
    QCOMPARE(writes.size(), 14);
    QCOMPARE(writes.first().key, QStringLiteral("Folder"));
    QCOMPARE(writes.first().value, m_folder->filePath(QStringLiteral("inner")));
}

void tst_MainWindow::previewDrawsEveryFileAndEntersThePreviewedState()
{
    PreviewArea *area = m_window->previewArea();
    area->verticalBar()->setValue(0);
    m_window->exitButton()->setFocus();
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));

    const QStringList texts = recordedTexts(area->picture());
    for (const char *name : { "alpha.txt", "beta.txt", "gamma.doc" })
        QVERIFY2(texts.contains(QString::fromLatin1(name)), name);
    QVERIFY(texts.contains(QStringLiteral("234,567")));
    QVERIFY(texts.contains(QStringLiteral("1,000,000")));
    QVERIFY(!texts.contains(QStringLiteral("inner"))); // folders are not catalogued

    const auto &c = m_window->commands();
    QVERIFY(c.save->isEnabled());
    QVERIFY(c.print->isEnabled());
    QVERIFY(c.selectAll->isEnabled());
    QVERIFY(!c.copy->isEnabled());
    QVERIFY(m_window->state().previewReady);
    QCOMPARE(m_window->state().selection.selFirst, -1);
    QCOMPARE(area->verticalBar()->value(), 0);
    QCOMPARE(area->horizontalBar()->value(), 0);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(m_window->browser()->statusStrip()->statusPanel()->text().isEmpty());
}

void tst_MainWindow::everyRefreshReturnsToTheListedState()
{
    m_window->exitButton()->setFocus();
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));
    QVERIFY(m_window->state().previewReady);

    QCheckBox *hidden = m_window->browser()->attributeBox(FolderBrowserView::HiddenBox);
    QTest::mouseClick(hidden, Qt::LeftButton);
    QVERIFY(!m_window->state().previewReady);
    QVERIFY(m_window->state().settingsChanged);
    QVERIFY(!m_window->commands().save->isEnabled());
    QVERIFY(!m_window->commands().print->isEnabled());
    QVERIFY(!m_window->commands().selectAll->isEnabled());
    QCOMPARE(recordedTexts(m_window->previewArea()->picture()),
             QStringList { QStringLiteral("Click on Preview to Display Quillmark") });
}

void tst_MainWindow::clickLine(int line, Qt::KeyboardModifiers modifiers)
{
    auto *view = static_cast<QFrame *>(m_window->previewArea()->view());
    const double lineHeight = m_window->state().metrics.lineHeight;
    const QPoint at = view->contentsRect().topLeft()
        + QPoint(20, twipsToPixels(int((line + 0.5) * lineHeight)));
    QTest::mouseClick(view, Qt::LeftButton, modifiers, at);
}

void tst_MainWindow::pickedLinesAreCopiedAndSaved()
{
    // 6 Dec 2026 13:04:05 and exactly midnight, UTC as the tests run.
    for (const auto &[name, when] :
         { std::pair { "alpha.txt", 1796562245 }, std::pair { "beta.txt", 1796515200 },
           std::pair { "gamma.doc", 1796562245 } }) {
        const struct utimbuf times
        {
            when, when
        };
        QVERIFY(::utime(QFile::encodeName(m_folder->filePath(QString::fromLatin1(name))), &times)
                == 0);
    }
    m_window->browser()->refresh();
    m_window->exitButton()->setFocus();
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));

    clickLine(2);
    clickLine(1, Qt::ShiftModifier); // above the anchor: lines 1 to 2
    QCOMPARE(m_window->state().selection.selFirst, 1);
    QCOMPARE(m_window->state().selection.selLast, 2);
    QVERIFY(m_window->commands().copy->isEnabled());
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(),
             QByteArray("beta.txt,  234,567, 12/6/26,   00:00:00\r\n"
                        "gamma.doc,  1,000,000, 12/6/26,   1:04:05 PM\r\n"));

    // Ctrl+S saves; asked whether the selection alone is wanted, No takes every line.
    const QString out = m_folder->filePath(QStringLiteral("catalogue.txt"));
    m_questions->answerSaveFileName(out);
    m_questions->answerYesNo(false);
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QFile saved(out);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(),
             "Catalog of folder " + QFile::encodeName(m_folder->path())
                 + "\r\n"
                   "alpha.txt, 1000, 12/6/26,  1:04:05 PM\r\n"
                   "beta.txt, 234567, 12/6/26,  00:00:00\r\n"
                   "gamma.doc, 1000000, 12/6/26,  1:04:05 PM\r\n");
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(m_window->browser()->statusStrip()->statusPanel()->text().isEmpty());

    // A refresh keeps the selection but makes it unusable.
    QCheckBox *hidden = m_window->browser()->attributeBox(FolderBrowserView::HiddenBox);
    QTest::mouseClick(hidden, Qt::LeftButton);
    QVERIFY(!m_window->commands().copy->isEnabled());
    QCOMPARE(m_window->state().selection.selFirst, 1);
    clickLine(0);
    QCOMPARE(m_window->state().selection.selFirst, 1);
}

void tst_MainWindow::pageSetupOpensModally_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Ctrl+G") << true;
    QTest::newRow("tool button") << false;
}

void tst_MainWindow::pageSetupOpensModally()
{
    QFETCH(bool, byKey);
    QString opened;
    whenPageSetupOpens([&](PageSetupDialog &dialog) {
        opened = dialog.windowTitle();
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.parentWidget(), m_window.get());
        QCOMPARE(QApplication::focusWidget(), dialog.field(PageSetupField::Left));
        dialog.close();
    });
    m_window->exitButton()->setFocus();
    if (byKey)
        QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_G));
    else
        QTest::mouseClick(m_window->toolButton(ToolButton::PageSetup), Qt::LeftButton);
    QCOMPARE(opened, QStringLiteral("Page Setup"));
    QVERIFY(m_window->state().settingsChanged); // opening alone raises it; closing keeps it
}

void tst_MainWindow::pageSetupEditsAreWrittenAtExit()
{
    m_questions->answerFont(
        FontChoice { QStringLiteral("Liberation Serif"), 72, true, false, false, false, 255 });
    whenPageSetupOpens([](PageSetupDialog &dialog) {
        typeInto(dialog.field(PageSetupField::Left), QStringLiteral("9"));
        typeInto(dialog.field(PageSetupField::Top), QStringLiteral("3"));
        typeInto(dialog.field(PageSetupField::Name), QStringLiteral("80"));
        dialog.unitSelector()->setCurrentIndex(1);
        QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    m_window->commands().pageSetup->trigger();
    QTest::mouseClick(m_window->exitButton(), Qt::LeftButton);

    QStringList written;
    for (const auto &access : m_store->writes())
        written << access.key + u'=' + access.value;
    written.removeFirst(); // the folder
    const QStringList expected {
        QStringLiteral("Colour=255"),
        QStringLiteral("Font=Liberation Serif"),
        QStringLiteral("Bold=-1"),
        QStringLiteral("Italic=0"),
        QStringLiteral("Size= 48"),
        QStringLiteral("Top Margin= 1701"),
        QStringLiteral("Bottom Margin= 1134"),
        QStringLiteral("Left Margin= 3000"),
        QStringLiteral("Right Margin= 2268"),
        QStringLiteral("Measurement=mm"),
        QStringLiteral("Column 0= .7"),
        QStringLiteral("Column 1= .15"),
        QStringLiteral("Column 2= .15"),
    };
    QCOMPARE(written, expected);
}

void tst_MainWindow::cancelledPageSetupKeepsTheFontButWritesNothing()
{
    QVERIFY(!m_window->state().settingsChanged);
    m_questions->answerFont(
        FontChoice { QStringLiteral("Liberation Mono"), 12, false, true, false, false, 0 });
    whenPageSetupOpens([](PageSetupDialog &dialog) {
        typeInto(dialog.field(PageSetupField::Right), QStringLiteral("1"));
        QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    m_window->commands().pageSetup->trigger();
    QCOMPARE(m_window->state().catalogueFont.name, QStringLiteral("Liberation Mono"));
    QCOMPARE(m_window->state().printSettings.rightMargin, qint16(2268));
    QVERIFY(!m_window->state().settingsChanged);
    QTest::mouseClick(m_window->exitButton(), Qt::LeftButton);
    QVERIFY(m_store->writes().isEmpty());
}

void tst_MainWindow::fontChangeRedrawsThePreviewWhereItWasScrolled()
{
    for (int i = 0; i < 40; ++i)
        makeFile(QStringLiteral("more%1.txt").arg(i, 2, 10, QLatin1Char('0')), "x");
    QCheckBox *hidden = m_window->browser()->attributeBox(FolderBrowserView::HiddenBox);
    QTest::mouseClick(hidden, Qt::LeftButton); // two refreshes list the new files
    QTest::mouseClick(hidden, Qt::LeftButton);
    m_window->preview();
    PreviewArea *area = m_window->previewArea();
    area->verticalBar()->setValue(10);
    area->horizontalBar()->setValue(3);
    const qint64 oldLineHeight = m_window->state().metrics.lineHeight;

    m_questions->answerFont(
        FontChoice { QStringLiteral("Liberation Serif"), 20, false, false, false, false, 0 });
    QString drawnWhileOpen;
    whenPageSetupOpens([&](PageSetupDialog &dialog) {
        QTest::mouseClick(dialog.fontButton(), Qt::LeftButton);
        drawnWhileOpen = area->picture().item(0).font.family();
        dialog.okButton()->click();
    });
    m_window->commands().pageSetup->trigger();

    QCOMPARE(drawnWhileOpen, QStringLiteral("Liberation Serif"));
    const LineMetrics &metrics = m_window->state().metrics;
    QVERIFY(metrics.lineHeight > oldLineHeight);
    QCOMPARE(area->verticalBar()->value(), 10);
    QCOMPARE(area->horizontalBar()->value(), 3);
    QCOMPARE(area->picture().top(), -10 * metrics.lineHeight);
    QCOMPARE(area->picture().left(), -3 * metrics.columnGap);
    QVERIFY(m_window->state().previewReady);
}

void tst_MainWindow::damagedSettingsLoadSoundly_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("loadedAs"); // among the settings as they would be saved
    const QStringList shareDefaults { u"Column 0= .6"_s, u"Column 1= .15"_s, u"Column 2= .25"_s };
    QTest::newRow("name share far below the lowest int")
        << u"Column 0"_s << u"-1e10"_s << shareDefaults;
    QTest::newRow("size share beyond single precision")
        << u"Column 1"_s << u"-1e24"_s << shareDefaults;
    QTest::newRow("date share beyond single precision")
        << u"Column 2"_s << u"-1e24"_s << shareDefaults;
    QTest::newRow("name share garbage") << u"Column 0"_s << u"wide"_s << shareDefaults;
    QTest::newRow("name share empty") << u"Column 0"_s << u""_s << shareDefaults;
    QTest::newRow("size share NaN") << u"Column 1"_s << u"NaN"_s << shareDefaults;
    QTest::newRow("date share infinite") << u"Column 2"_s << u"1e999"_s << shareDefaults;
    QTest::newRow("name share 1: other columns vanish") << u"Column 0"_s << u"1"_s << shareDefaults;
    QTest::newRow("left margin 32767")
        << u"Left Margin"_s << u"32767"_s << QStringList { u"Left Margin= 3000"_s };
    QTest::newRow("right margin far below the lowest int")
        << u"Right Margin"_s << u"-1e10"_s << QStringList { u"Right Margin= 0"_s };
    QTest::newRow("left margin garbage")
        << u"Left Margin"_s << u"wide"_s << QStringList { u"Left Margin= 2268"_s };
    QTest::newRow("right margin NaN")
        << u"Right Margin"_s << u"NaN"_s << QStringList { u"Right Margin= 2268"_s };
    QTest::newRow("top margin infinite")
        << u"Top Margin"_s << u"-1e999"_s << QStringList { u"Top Margin= 1134"_s };
    QTest::newRow("size far too large") << u"Size"_s << u"1e9"_s << QStringList { u"Size= 10"_s };
    QTest::newRow("folder with a drive letter")
        << u"Folder"_s << u"C:\\"_s << QStringList { u"Folder="_s + QDir::homePath() };
    QTest::newRow("relative folder")
        << u"Folder"_s << u"inner"_s << QStringList { u"Folder="_s + QDir::homePath() };
}

void tst_MainWindow::damagedSettingsLoadSoundly()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QStringList, loadedAs);
    MemorySettingsStore store;
    store.set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, m_folder->path());
    store.set(u"Quillmark"_s, u"StartUp"_s, key, text);
    MainWindow window(store, *m_questions);
    window.load();
    const QStringList saved = settingsAsSaved(window);
    for (const QString &line : loadedAs)
        QVERIFY2(saved.contains(line), qPrintable(saved.join(u'|')));
    if (key == u"Folder")
        return; // the home folder's files are not this test's

    window.preview();
    const QStringList texts = recordedTexts(window.previewArea()->picture());
    for (const QString &whole :
         { u"alpha.txt"_s, u"beta.txt"_s, u"gamma.doc"_s, u"234,567"_s, u"1,000,000"_s })
        QVERIFY2(texts.contains(whole), qPrintable(texts.join(u'|')));
}

void tst_MainWindow::folderProblemsShowUntilTheNextRefresh_data()
{
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shownFolder"); // below the scratch folder
    const QString unreadable = u"Cannot read this folder: permission denied"_s;
    const QString gone = u"The folder is gone; showing its parent"_s;
    QTest::newRow("unreadable, mode 000") << u"mode 000"_s << unreadable << u"/closed"_s;
    QTest::newRow("search only, mode 111") << u"mode 111"_s << unreadable << u"/closed"_s;
    QTest::newRow("deleted while shown") << u"deleted"_s << gone << QString();
    QTest::newRow("stored folder gone by the next start")
        << u"gone at start"_s << gone << u"/closed"_s;
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
    const QString root = scratch.text();
    QVERIFY(QDir(root).mkpath(u"closed"_s));
    QFile file(root + u"/closed/inside.txt"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QFile(root + u"/kept.txt"_s).open(QIODevice::WriteOnly);

    MemorySettingsStore store;
    store.set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s,
              problem == u"gone at start" ? root + u"/closed/gone"_s : root);
    MainWindow window(store, *m_questions);
    window.load();
    FolderBrowserView *browser = window.browser();
    StatusStrip *strip = browser->statusStrip();
    QCheckBox *hidden = browser->attributeBox(FolderBrowserView::HiddenBox);
    if (problem == u"gone at start") {
        // Reported at start-up already.
    } else if (permissions) {
        const mode_t mode = problem == u"mode 000" ? 0 : 0111;
        QCOMPARE(::chmod(QFile::encodeName(root + u"/closed"_s).constData(), mode), 0);
        QVERIFY(openSubFolder(window, u"closed"_s));
        QCOMPARE(strip->fileCountPanel()->text(), u"0"_s);
    } else {
        QVERIFY(openSubFolder(window, u"closed"_s));
        QVERIFY(strip->statusPanel()->text().isEmpty());
        QVERIFY(QDir(root + u"/closed"_s).removeRecursively());
        QTest::mouseClick(hidden, Qt::LeftButton); // any refresh notices it
    }
    QCOMPARE(browser->currentFolder(), root + shownFolder);
    QCOMPARE(strip->statusPanel()->text(), status);
    QLabel *panel = strip->statusPanel();
    QVERIFY(QFontMetrics(panel->font()).horizontalAdvance(status) < panel->contentsRect().width());

    // A long operation puts its word there meanwhile; the problem stands until a refresh.
    if (!permissions) {
        window.preview();
        QVERIFY(window.state().previewReady);
        QCOMPARE(strip->statusPanel()->text(), status);
    }
    if (permissions)
        QCOMPARE(::chmod(QFile::encodeName(root + u"/closed"_s).constData(), 0755), 0);
    QTest::mouseClick(hidden, Qt::LeftButton);
    QCOMPARE(strip->statusPanel()->text(), QString());
    QCOMPARE(strip->fileCountPanel()->text(), u"1"_s);
}

void tst_MainWindow::settingsThatCannotBeWrittenAreReported_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("reason"); // empty: written without a word
    QTest::newRow("writable: saved silently") << u"none"_s << QString();
    QTest::newRow("damaged earlier file: rewritten silently") << u"damaged"_s << QString();
    QTest::newRow("damaged earlier file in a read-only folder")
        << u"damaged, read-only folder"_s << u"Permission denied."_s;
    QTest::newRow("read-only settings folder") << u"read-only folder"_s << u"Permission denied."_s;
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
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    });
    const QString folder = config.text() + u"/Quillmark"_s;
    const QString fileName = folder + u"/Quillmark.ini"_s;
    QCOMPARE(IniSettingsStore::fileName(u"Quillmark"_s), fileName);
    QByteArray earlier;
    if (obstacle == u"file for folder") {
        earlier = "not a folder\n";
        QFile blocking(folder);
        QVERIFY(blocking.open(QIODevice::WriteOnly));
        blocking.write(earlier);
    } else {
        earlier = "[StartUp]\nFolder=" + QFile::encodeName(m_folder->path()) + "\nColour=255\n";
        if (obstacle.startsWith(u"damaged"))
            earlier += "[Start\n\xff\xfe\x01 no equals sign\n\"Size=\n";
        QVERIFY(QDir().mkpath(folder));
        QFile ini(fileName);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(earlier);
    }
    if (obstacle.endsWith(u"read-only folder"))
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    if (obstacle == u"read-only file")
        QCOMPARE(::chmod(QFile::encodeName(fileName).constData(), 0444), 0);
    const QString blockedFile = obstacle == u"file for folder" ? folder : fileName;

    {
        IniSettingsStore store;
        ScriptedQuestions questions;
        MainWindow window(store, questions);
        window.load();
        window.show();
        // Any refresh makes the run's settings worth writing.
        QTest::mouseClick(window.browser()->attributeBox(FolderBrowserView::HiddenBox),
                          Qt::LeftButton);
        window.close();
        if (reason.isEmpty()) {
            QCOMPARE(questions.log(), QStringList());
            QVERIFY(fileBytes(fileName).contains("Measurement=cm"));
            QVERIFY(fileBytes(fileName).contains("Colour=255"));
        } else {
            const QString text = u"Quillmark could not save its settings in\n"_s + fileName
                + u"\n\n"_s + QString(reason).replace(u"%1"_s, config.text());
            QCOMPARE(questions.log(),
                     QStringList { u"message \"Quillmark\" "_s + ScriptedQuestions::quoted(text) });
            QCOMPARE(fileBytes(blockedFile), earlier);
        }
    }
    // Nothing was written behind the user's back either when the store went.
    if (!reason.isEmpty())
        QCOMPARE(fileBytes(blockedFile), earlier);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
