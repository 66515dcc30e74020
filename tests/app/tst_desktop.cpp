// The main window as a desktop program: sharp pictures on a screen of device pixel ratio 2,
// the preview driven from the keyboard, names for screen readers, the start folder.
#include "about/aboutbox.h"
#include "about/splashwindow.h"
#include "app/toolicons.h"
#include "browse/folderbrowserview.h"
#include "browse/meterwidget.h"
#include "browse/statusstrip.h"
#include "windowfixture.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>

using namespace qm;
using namespace qm::test;
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

QLabel *pictureLabel(QWidget *window)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->pixmap().isNull())
            return label;
    }
    return nullptr;
}

} // namespace

class tst_Desktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { w.finish(); }

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
    void everyCommandIsInAMenu();
    void startFolder_data();
    void startFolder();

private:
    QTemporaryDir m_emptyThemes;
    WindowFixture w;
};

void tst_Desktop::initTestCase()
{
    w.pin();
    // The drawn pictures are under test, not whatever icon theme the machine has.
    QIcon::setThemeSearchPaths({ m_emptyThemes.path() });
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName(u"none"_s);
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void tst_Desktop::init()
{
    w.newFolder();
    // Long names and enough lines that the catalogue is wider and deeper than its window.
    for (int i = 0; i < 120; ++i) {
        const QString name
            = u"catalogue entry number %1 with a long name.txt"_s.arg(i, 3, 10, QChar(u'0'));
        w.makeFile(name, QByteArray(name.size() * 100, 'x'));
    }
    QVERIFY(QDir(w.folder->path()).mkdir(u"inner"_s));
    w.start(WindowFixture::Show::No);
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
    w.show(WindowFixture::Show::Exposed);

    QToolButton *tool = w.window->toolButton(button);
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
    if (picture == u"meter") {
        w.show(WindowFixture::Show::Exposed);
        MeterWidget *meter = w.window->browser()->statusStrip()->meter();
        QCOMPARE(meter->picture().devicePixelRatio(), 2.0);
        QCOMPARE(meter->picture().size(), meter->size() * 2);
        return;
    }
    SplashWindow splash;
    AboutBox about;
    QLabel *label = pictureLabel(picture == u"splash" ? static_cast<QWidget *>(&splash) : &about);
    QVERIFY(label);
    QCOMPARE(label->pixmap().devicePixelRatio(), 2.0);
    // Shown one to one: the label never stretches it.
    QCOMPARE(label->pixmap().deviceIndependentSize().toSize(),
             picture == u"splash" ? splash.size() : label->size());
}

void tst_Desktop::previewScrollsWithTheKeys_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("vertical"); // bar value: 0, a number of lines, "page", "end"
    QTest::addColumn<int>("horizontal");

    QTest::newRow("Down, one line") << QKeySequence(u"Down"_s) << u"1"_s << 0;
    QTest::newRow("Up at the top stays") << QKeySequence(u"Up"_s) << u"0"_s << 0;
    QTest::newRow("Page Down, one page") << QKeySequence(u"PgDown"_s) << u"page"_s << 0;
    QTest::newRow("End, the last line") << QKeySequence(u"End"_s) << u"end"_s << 0;
    QTest::newRow("Down past the end stays") << QKeySequence(u"End, Down"_s) << u"end"_s << 0;
    QTest::newRow("Home after End, the top") << QKeySequence(u"End, Home"_s) << u"0"_s << 0;
    QTest::newRow("Right, one column") << QKeySequence(u"Right"_s) << u"0"_s << 1;
    QTest::newRow("Left at the left edge stays") << QKeySequence(u"Left"_s) << u"0"_s << 0;
    QTest::newRow("with Ctrl, no scrolling") << QKeySequence(u"Ctrl+Down"_s) << u"0"_s << 0;
}

void tst_Desktop::previewScrollsWithTheKeys()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, vertical);
    QFETCH(int, horizontal);

    w.show(WindowFixture::Show::Active);
    w.window->preview();
    PreviewArea *area = w.window->previewArea();
    QScrollBar *down = area->verticalBar();
    QScrollBar *across = area->horizontalBar();
    QVERIFY2(down->maximum() > down->pageStep(), "the catalogue must be deeper than a page");
    QVERIFY2(across->maximum() > 2, "the catalogue must be wider than its window");

    area->view()->setFocus(Qt::TabFocusReason);
    QTest::keySequence(area->view(), keys);
    const int expected = vertical == u"page" ? down->pageStep()
        : vertical == u"end"                 ? down->maximum()
                                             : vertical.toInt();
    QCOMPARE(down->value(), expected);
    QCOMPARE(across->value(), horizontal);
    const LineMetrics &metrics = w.window->state().metrics;
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
    w.show(WindowFixture::Show::Exposed);
    w.window->preview();
    PreviewArea *area = w.window->previewArea();
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
    QTest::addColumn<bool>("backwards"); // Shift+Tab
    QTest::newRow("Tab, round from Exit to the folder list") << false;
    QTest::newRow("Shift+Tab, round from the folder list to Exit") << true;
}

void tst_Desktop::tabChain()
{
    QFETCH(bool, backwards);
    // One chain through the lower window, the preview between the boxes and the file list
    // (past its bars), and Exit; the tool buttons are left out.
    QStringList chain { u"dlbFolder"_s, u"drlbDrive"_s, u"comFilter"_s, u"chkNormal"_s,
                        u"chkHidden"_s, u"chkSystem"_s, u"chkRO"_s,     u"chkArchive"_s,
                        u"Picture1"_s,  u"flbFile"_s,   u"exit"_s,      u"dlbFolder"_s };
    if (backwards)
        std::reverse(chain.begin(), chain.end());
    w.show(WindowFixture::Show::Active);
    const auto nameOf = [this](QWidget *widget) {
        return widget == w.window->exitButton() ? u"exit"_s : widget->objectName();
    };
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) {
        QWidget *start = chain[i] == u"exit" ? w.window->exitButton()
                                             : w.window->findChild<QWidget *>(chain[i]);
        QVERIFY(start);
        start->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        QTest::keyClick(start, backwards ? Qt::Key_Backtab : Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(chain[i] + u" -> "_s + nameOf(QApplication::focusWidget()),
                 chain[i] + u" -> "_s + chain[i + 1]);
    }
}

void tst_Desktop::everyControlHasAnAccessibleName_data()
{
    QTest::addColumn<QString>("control"); // "*": every visible control that takes focus
    QTest::addColumn<QString>("name");
    QTest::newRow("Copy button, even disabled") << u"tool 3"_s << u"Copy"_s;
    QTest::newRow("Page Setup button, two words") << u"tool 6"_s << u"Page Setup"_s;
    QTest::newRow("preview") << u"Picture1"_s << u"Catalogue preview"_s;
    QTest::newRow("pattern, a combo box") << u"comFilter"_s << u"File pattern"_s;
    QTest::newRow("check box, from its caption") << u"chkRO"_s << u"Read Only"_s;
    QTest::newRow("Exit, from its caption") << u"exit"_s << u"Exit"_s;
    QTest::newRow("file count, a label") << u"lblNumberofFiles"_s << u"Number of files"_s;
    QTest::newRow("every focusable control and tool button") << u"*"_s << QString();
}

void tst_Desktop::everyControlHasAnAccessibleName()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    w.show(WindowFixture::Show::Exposed);
    if (control == u"*") {
        int checked = 0;
        for (QWidget *widget : w.window->centralWidget()->findChildren<QWidget *>()) {
            const bool focusable = widget->focusPolicy() != Qt::NoFocus
                || qobject_cast<QToolButton *>(widget) != nullptr;
            if (!focusable || !widget->isVisibleTo(w.window.get()) || widget->focusProxy())
                continue;
            ++checked;
            QVERIFY2(!accessibleName(widget).trimmed().isEmpty(),
                     qPrintable(widget->objectName() + u' '
                                + QLatin1StringView(widget->metaObject()->className())));
        }
        QVERIFY(checked >= 15);
        return;
    }
    QWidget *widget = control.startsWith(u"tool ")
        ? w.window->toolButton(ToolButton(control.mid(5).toInt()))
        : control == u"exit" ? w.window->exitButton()
                             : w.window->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), name);
}

void tst_Desktop::everyCommandIsInAMenu()
{
    // The tool buttons take no focus: their commands must also be in the menus, which the
    // keyboard reaches with Alt and the underlined letters.
    w.window->load();
    QList<QAction *> inMenus;
    for (QAction *menu : w.window->menuBar()->actions()) {
        QVERIFY2(menu->text().contains(u'&'), qPrintable(menu->text()));
        inMenus += menu->menu()->actions();
    }
    for (int n = 1; n <= 6; ++n) {
        QAction *command = w.window->toolButton(ToolButton(n))->defaultAction();
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
    QFile note(w.folder->filePath(u"inner/note.txt"_s));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();

    const QDir root(w.folder->path());
    w.window->load(given == u"-" ? QString() : root.filePath(given));
    QCOMPARE(w.window->browser()->currentFolder(), QDir::cleanPath(root.filePath(shown)));
    // Opening a folder is not a change to remember.
    QVERIFY(!w.window->state().settingsChanged);
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
