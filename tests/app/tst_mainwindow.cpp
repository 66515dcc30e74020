#include "about/splashwindow.h"
#include "app/mainwindow.h"
#include "browse/folderbrowserview.h"
#include "catalogue/previewarea.h"
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
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <utime.h>

using namespace qm;

namespace {
QStringList recordedTexts(const PreviewPicture &picture)
{
    QStringList texts;
    for (qint64 i = 0; i < picture.itemCount(); ++i)
        texts << picture.item(i).text;
    return texts;
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
    void windowHasItsDesignedSize();
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
    QCOMPARE(browser->fileCountPanel()->text().trimmed(), QStringLiteral("3"));
    QCOMPARE(browser->byteTotalPanel()->text().trimmed(), QStringLiteral("1,235,567"));
    QVERIFY(!m_window->state().settingsChanged);
    QVERIFY(!m_window->state().previewReady);
    QVERIFY(!m_window->toolTipPanel()->isVisible());
}

void tst_MainWindow::windowHasItsDesignedSize()
{
    QCOMPARE(m_window->centralWidget()->size(), QSize(twipsToPixels(7830), twipsToPixels(5805)));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillmark"));
    QCOMPARE(m_window->exitButton()->geometry(), twipsRect(6720, 4110, 975, 375));
    QCOMPARE(m_window->toolButton(ToolButton::Help)->geometry(), twipsRect(6720, 60, 375, 375));
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
    QListView *folders = m_window->browser()->folderList();
    const QModelIndexList inner
        = folders->model()->match(folders->model()->index(0, 0), Qt::DisplayRole,
                                  QStringLiteral("inner"), 1, Qt::MatchExactly);
    QCOMPARE(inner.size(), 1);
    emit folders->activated(inner.first());
    QCOMPARE(m_window->browser()->currentFolder(), m_folder->filePath(QStringLiteral("inner")));
    QVERIFY(m_window->state().settingsChanged);

    QTest::mouseClick(m_window->exitButton(), Qt::LeftButton);
    QStringList written;
    for (const auto &access : m_store->writes())
        written << access.key + u'=' + access.value;
    const QStringList expected {
        QStringLiteral("Folder=") + m_folder->filePath(QStringLiteral("inner")),
        QStringLiteral("Colour=0"),
        QStringLiteral("Font=Arial"),
        QStringLiteral("Bold=0"),
        QStringLiteral("Italic=0"),
        QStringLiteral("Size= 10"),
        QStringLiteral("Top Margin= 1134"),
        QStringLiteral("Bottom Margin= 1134"),
        QStringLiteral("Left Margin= 2268"),
        QStringLiteral("Right Margin= 2268"),
        QStringLiteral("Measurement=cm"),
        QStringLiteral("Column 0= .6"),
        QStringLiteral("Column 1= .15"),
        QStringLiteral("Column 2= .25"),
    };
    QCOMPARE(written, expected);
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
    QVERIFY(m_window->browser()->statusPanel()->text().isEmpty());
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
    QVERIFY(m_window->browser()->statusPanel()->text().isEmpty());

    // A refresh keeps the selection but makes it unusable.
    QCheckBox *hidden = m_window->browser()->attributeBox(FolderBrowserView::HiddenBox);
    QTest::mouseClick(hidden, Qt::LeftButton);
    QVERIFY(!m_window->commands().copy->isEnabled());
    QCOMPARE(m_window->state().selection.selFirst, 1);
    clickLine(0);
    QCOMPARE(m_window->state().selection.selFirst, 1);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
