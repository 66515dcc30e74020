// The main window as a desktop program: sharp pictures on a screen of device pixel ratio 2,
// the preview driven from the keyboard, names for screen readers, the start folder.
#include "about/aboutbox.h"
#include "about/splashwindow.h"
#include "app/mainwindow.h"
#include "app/toolicons.h"
#include "browse/folderbrowserview.h"
#include "browse/meterwidget.h"
#include "browse/statusstrip.h"
#include "catalogue/previewarea.h"
#include "platform/scriptedquestions.h"
#include "platform/settingsstore.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace qm;
using namespace Qt::StringLiterals;

namespace {

QImage asArgb(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The name given to the widget, or the one its accessible interface makes of its caption.
// (On Linux a combo box reports its text as its name and its given name apart.)
QString accessibleName(QWidget *widget)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QPixmap labelPicture(QWidget *window)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->pixmap().isNull())
            return label->pixmap();
    }
    return {};
}

} // namespace

class tst_Desktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void toolPicturesAreDrawnAtTheRatio_data();
    void toolPicturesAreDrawnAtTheRatio();
    void picturesCarryTheRatio_data();
    void picturesCarryTheRatio();
    void previewScrollsWithTheKeys_data();
    void previewScrollsWithTheKeys();
    void previewScrollsWithTheWheel_data();
    void previewScrollsWithTheWheel();
    void tabChain_data();
    void tabChain();
    void everyControlHasAnAccessibleName_data();
    void everyControlHasAnAccessibleName();
    void everyFocusableControlIsNamed();
    void everyCommandIsInAMenu();
    void startFolder_data();
    void startFolder();

private:
    void makeFile(const QString &name);

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_emptyThemes;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MemorySettingsStore> m_store;
    std::unique_ptr<ScriptedQuestions> m_questions;
    std::unique_ptr<MainWindow> m_window;
};

void tst_Desktop::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    // The drawn pictures are under test, not whatever icon theme the machine has.
    QIcon::setThemeSearchPaths({ m_emptyThemes.path() });
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName(u"none"_s);
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void tst_Desktop::makeFile(const QString &name)
{
    QFile file(m_folder->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(name.size() * 100, 'x'));
}

void tst_Desktop::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    // Long names and enough lines that the catalogue is wider and deeper than its window.
    for (int i = 0; i < 120; ++i)
        makeFile(u"catalogue entry number %1 with a long name.txt"_s.arg(i, 3, 10, QChar(u'0')));
    QVERIFY(QDir(m_folder->path()).mkdir(u"inner"_s));

    m_store = std::make_unique<MemorySettingsStore>();
    m_store->set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, m_folder->path());
    m_questions = std::make_unique<ScriptedQuestions>();
    m_window = std::make_unique<MainWindow>(*m_store, *m_questions);
}

void tst_Desktop::cleanup()
{
    if (m_window)
        m_window->close();
    m_window.reset();
    QCOMPARE(m_questions->unexpectedCount(), 0);
}

void tst_Desktop::toolPicturesAreDrawnAtTheRatio_data()
{
    QTest::addColumn<ToolButton>("button");
    QTest::addColumn<ToolIcon>("icon");
    QTest::newRow("Save") << ToolButton::Save << ToolIcon::Save;
    QTest::newRow("Print") << ToolButton::Print << ToolIcon::Print;
    QTest::newRow("Copy, disabled at start") << ToolButton::Copy << ToolIcon::Copy;
    QTest::newRow("Page Setup") << ToolButton::PageSetup << ToolIcon::PageSetup;
    QTest::newRow("Preview, one row shorter") << ToolButton::Preview << ToolIcon::Preview;
    QTest::newRow("Help, drawn with curves") << ToolButton::Help << ToolIcon::Help;
}

void tst_Desktop::toolPicturesAreDrawnAtTheRatio()
{
    QFETCH(ToolButton, button);
    QFETCH(ToolIcon, icon);
    m_window->load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QToolButton *tool = m_window->toolButton(button);
    const qreal ratio = tool->devicePixelRatioF();
    QCOMPARE(ratio, 2.0);
    QCOMPARE(tool->iconSize(), toolPictureSize(icon));

    // What the button paints: the picture for its size at the screen's ratio.
    const QPixmap shown = tool->icon().pixmap(tool->iconSize(), ratio, QIcon::Normal);
    QCOMPARE(shown.devicePixelRatio(), ratio);
    QCOMPARE(shown.deviceIndependentSize().toSize(), tool->iconSize());
    // Drawn at twice the size, not the small picture stretched (which would be smoothed).
    QImage sharp = asArgb(drawnToolPicture(icon, 2.0));
    sharp.setDevicePixelRatio(ratio);
    QCOMPARE(asArgb(shown), sharp);
}

void tst_Desktop::picturesCarryTheRatio_data()
{
    QTest::addColumn<QString>("picture");
    QTest::newRow("splash") << u"splash"_s;
    QTest::newRow("About box") << u"about"_s;
    QTest::newRow("meter") << u"meter"_s;
}

void tst_Desktop::picturesCarryTheRatio()
{
    QFETCH(QString, picture);
    QPixmap pixmap;
    QSize shownAt;
    if (picture == u"splash") {
        SplashWindow splash;
        pixmap = labelPicture(&splash);
        shownAt = splash.size();
    } else if (picture == u"about") {
        AboutBox about;
        pixmap = labelPicture(&about);
        for (QLabel *label : about.findChildren<QLabel *>()) {
            if (!label->pixmap().isNull())
                shownAt = label->size();
        }
    } else {
        m_window->load();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        MeterWidget *meter = m_window->browser()->statusStrip()->meter();
        const QImage image = meter->picture();
        QCOMPARE(image.devicePixelRatio(), 2.0);
        QCOMPARE(image.size(), meter->size() * 2);
        return;
    }
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    // Shown one to one: the label never stretches it.
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), shownAt);
}

void tst_Desktop::previewScrollsWithTheKeys_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("vertical"); // bar value: 0, a number of lines, "page", "end"
    QTest::addColumn<int>("horizontal");

    QTest::newRow("Down, one line") << QKeySequence(u"Down"_s) << u"1"_s << 0;
    QTest::newRow("Up at the top stays") << QKeySequence(u"Up"_s) << u"0"_s << 0;
    QTest::newRow("Down, Down, Up") << QKeySequence(u"Down, Down, Up"_s) << u"1"_s << 0;
    QTest::newRow("Page Down, one page") << QKeySequence(u"PgDown"_s) << u"page"_s << 0;
    QTest::newRow("Page Down, Page Up, back") << QKeySequence(u"PgDown, PgUp"_s) << u"0"_s << 0;
    QTest::newRow("End, the last line") << QKeySequence(u"End"_s) << u"end"_s << 0;
    QTest::newRow("Down past the end stays") << QKeySequence(u"End, Down"_s) << u"end"_s << 0;
    QTest::newRow("Home after End, the top") << QKeySequence(u"End, Home"_s) << u"0"_s << 0;
    QTest::newRow("Right, one column") << QKeySequence(u"Right"_s) << u"0"_s << 1;
    QTest::newRow("Right, Right, Left") << QKeySequence(u"Right, Right, Left"_s) << u"0"_s << 1;
    QTest::newRow("Left at the left edge stays") << QKeySequence(u"Left"_s) << u"0"_s << 0;
    QTest::newRow("with Ctrl, no scrolling") << QKeySequence(u"Ctrl+Down"_s) << u"0"_s << 0;
}

void tst_Desktop::previewScrollsWithTheKeys()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, vertical);
    QFETCH(int, horizontal);

    m_window->load();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->preview();
    PreviewArea *area = m_window->previewArea();
    QScrollBar *down = area->verticalBar();
    QScrollBar *across = area->horizontalBar();
    QVERIFY2(down->maximum() > down->pageStep(), "the catalogue must be deeper than a page");
    QVERIFY2(across->maximum() > 2, "the catalogue must be wider than its window");

    // Reached from the keyboard: Tab from the last attribute box.
    m_window->browser()->attributeBox(FolderBrowserView::ArchiveBox)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), area->view());

    QTest::keySequence(area->view(), keys);
    const int expected = vertical == u"page" ? down->pageStep()
        : vertical == u"end"                 ? down->maximum()
                                             : vertical.toInt();
    QCOMPARE(down->value(), expected);
    QCOMPARE(across->value(), horizontal);
    const LineMetrics &metrics = m_window->state().metrics;
    QCOMPARE(area->picture().top(), -qint64(expected) * metrics.lineHeight);
    QCOMPARE(area->picture().left(), -qint64(horizontal) * metrics.columnGap);
    QCOMPARE(QApplication::focusWidget(), area->view());
}

void tst_Desktop::previewScrollsWithTheWheel_data()
{
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("across");
    QTest::newRow("wheel turned towards the user: down") << QPoint(0, -120) << true << false;
    QTest::newRow("wheel tilted: across") << QPoint(-120, 0) << false << true;
    QTest::newRow("mostly down, a little across") << QPoint(-30, -120) << true << false;
}

void tst_Desktop::previewScrollsWithTheWheel()
{
    QFETCH(QPoint, delta);
    m_window->load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->preview();
    PreviewArea *area = m_window->previewArea();
    QWidget *view = area->view();
    const QPointF at = view->rect().center();
    QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    QTEST(area->verticalBar()->value() > 0, "down");
    QTEST(area->horizontalBar()->value() > 0, "across");
}

void tst_Desktop::tabChain_data()
{
    // One chain through the lower window, the preview between the boxes and the file list,
    // and the Exit button; the scroll bars and the tool buttons are left out.
    QTest::addColumn<QString>("from"); // object name; "exit" for the Exit button
    QTest::addColumn<bool>("backwards"); // Shift+Tab
    QTest::addColumn<QString>("to");
    QTest::newRow("folder list to drive list") << u"dlbFolder"_s << false << u"drlbDrive"_s;
    QTest::newRow("drive list to pattern") << u"drlbDrive"_s << false << u"comFilter"_s;
    QTest::newRow("pattern to the first box") << u"comFilter"_s << false << u"chkNormal"_s;
    QTest::newRow("Normal to Hidden") << u"chkNormal"_s << false << u"chkHidden"_s;
    QTest::newRow("Hidden to System") << u"chkHidden"_s << false << u"chkSystem"_s;
    QTest::newRow("System to Read Only") << u"chkSystem"_s << false << u"chkRO"_s;
    QTest::newRow("Read Only to Archive") << u"chkRO"_s << false << u"chkArchive"_s;
    QTest::newRow("last box to the preview") << u"chkArchive"_s << false << u"Picture1"_s;
    QTest::newRow("preview to the file list, past its bars")
        << u"Picture1"_s << false << u"flbFile"_s;
    QTest::newRow("file list to Exit") << u"flbFile"_s << false << u"exit"_s;
    QTest::newRow("Exit round to the folder list") << u"exit"_s << false << u"dlbFolder"_s;
    QTest::newRow("back: folder list round to Exit") << u"dlbFolder"_s << true << u"exit"_s;
    QTest::newRow("back: file list to the preview") << u"flbFile"_s << true << u"Picture1"_s;
    QTest::newRow("back: preview to the last box") << u"Picture1"_s << true << u"chkArchive"_s;
    QTest::newRow("back: first box to pattern") << u"chkNormal"_s << true << u"comFilter"_s;
}

void tst_Desktop::tabChain()
{
    QFETCH(QString, from);
    QFETCH(bool, backwards);
    QFETCH(QString, to);
    m_window->load();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    const auto nameOf = [this](QWidget *widget) {
        return widget == m_window->exitButton() ? u"exit"_s : widget->objectName();
    };
    QWidget *start
        = from == u"exit" ? m_window->exitButton() : m_window->findChild<QWidget *>(from);
    QVERIFY(start);
    start->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), start);
    QTest::keyClick(start, backwards ? Qt::Key_Backtab : Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(nameOf(QApplication::focusWidget()), to);
}

void tst_Desktop::everyControlHasAnAccessibleName_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("Save button, its tip") << u"tool 1"_s << u"Save"_s;
    QTest::newRow("Print button") << u"tool 2"_s << u"Print"_s;
    QTest::newRow("Copy button, even disabled") << u"tool 3"_s << u"Copy"_s;
    QTest::newRow("Preview button") << u"tool 4"_s << u"Preview"_s;
    QTest::newRow("Help button") << u"tool 5"_s << u"Help"_s;
    QTest::newRow("Page Setup button, two words") << u"tool 6"_s << u"Page Setup"_s;
    QTest::newRow("preview") << u"Picture1"_s << u"Catalogue preview"_s;
    QTest::newRow("folder list") << u"dlbFolder"_s << u"Folders"_s;
    QTest::newRow("drive list") << u"drlbDrive"_s << u"Drive"_s;
    QTest::newRow("pattern") << u"comFilter"_s << u"File pattern"_s;
    QTest::newRow("file list") << u"flbFile"_s << u"Files"_s;
    QTest::newRow("check box, from its caption") << u"chkRO"_s << u"Read Only"_s;
    QTest::newRow("Exit, from its caption") << u"exit"_s << u"Exit"_s;
    QTest::newRow("file count") << u"lblNumberofFiles"_s << u"Number of files"_s;
    QTest::newRow("byte total") << u"lblNumberofBytes"_s << u"Total bytes"_s;
}

void tst_Desktop::everyControlHasAnAccessibleName()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    m_window->load();
    QWidget *widget = nullptr;
    if (control.startsWith(u"tool "))
        widget = m_window->toolButton(ToolButton(control.mid(5).toInt()));
    else if (control == u"exit")
        widget = m_window->exitButton();
    else
        widget = m_window->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), name);
}

void tst_Desktop::everyFocusableControlIsNamed()
{
    m_window->load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    int checked = 0;
    for (QWidget *widget : m_window->centralWidget()->findChildren<QWidget *>()) {
        const bool control = widget->focusPolicy() != Qt::NoFocus
            || qobject_cast<QToolButton *>(widget) != nullptr;
        if (!control || !widget->isVisibleTo(m_window.get()) || widget->focusProxy())
            continue;
        ++checked;
        QVERIFY2(!accessibleName(widget).trimmed().isEmpty(),
                 qPrintable(widget->objectName() + u' '
                            + QLatin1StringView(widget->metaObject()->className())));
    }
    QVERIFY(checked >= 15);
}

void tst_Desktop::everyCommandIsInAMenu()
{
    // The tool buttons take no focus: their commands must also be in the menus, which the
    // keyboard reaches with Alt and the underlined letters.
    m_window->load();
    QList<QAction *> inMenus;
    for (QAction *menu : m_window->menuBar()->actions()) {
        QVERIFY2(menu->text().contains(u'&'), qPrintable(menu->text()));
        inMenus += menu->menu()->actions();
    }
    for (int n = 1; n <= 6; ++n) {
        QAction *command = m_window->toolButton(ToolButton(n))->defaultAction();
        QVERIFY(command);
        QVERIFY2(inMenus.contains(command), qPrintable(command->text()));
        QVERIFY2(command->text().contains(u'&'), qPrintable(command->text()));
    }
}

void tst_Desktop::startFolder_data()
{
    QTest::addColumn<QString>("given"); // relative to the test folder; "-" for none
    QTest::addColumn<QString>("shown");
    QTest::newRow("none: the stored folder") << u"-"_s << u""_s;
    QTest::newRow("a folder") << u"inner"_s << u"inner"_s;
    QTest::newRow("a file opens the folder holding it") << u"inner/note.txt"_s << u"inner"_s;
    QTest::newRow("a missing folder opens its nearest parent")
        << u"inner/gone/deeper"_s << u"inner"_s;
}

void tst_Desktop::startFolder()
{
    QFETCH(QString, given);
    QFETCH(QString, shown);
    QFile note(m_folder->filePath(u"inner/note.txt"_s));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();

    const QDir root(m_folder->path());
    m_window->load(given == u"-" ? QString() : root.filePath(given));
    QCOMPARE(m_window->browser()->currentFolder(), QDir::cleanPath(root.filePath(shown)));
    // Opening a folder is not a change to remember.
    QVERIFY(!m_window->state().settingsChanged);
}

int main(int argc, char *argv[])
{
    // A screen of two device pixels per pixel, as a dense laptop screen has.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    tst_Desktop test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop.moc"
