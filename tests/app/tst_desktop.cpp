// The main window as a desktop program: sharp pictures on a screen of device pixel ratio 2,
// the preview driven from the keyboard and the wheel, the tab chain, names for screen readers.
#include "app/toolicons.h"
#include "windowfixture.h"

#include <QAccessible>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

using namespace qm;
using namespace qm::test;
using namespace Qt::StringLiterals;

class tst_Desktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { w.finish(); }

    void toolPicturesAreDrawnAtTheRatio_data();
    void toolPicturesAreDrawnAtTheRatio();
    void previewScrolls_data();
    void previewScrolls();
    void tabChain();
    void everyControlHasAnAccessibleName();

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
    w.makeFiles(120); // more lines than the window shows
    w.start();
}

void tst_Desktop::toolPicturesAreDrawnAtTheRatio_data()
{
    QTest::addColumn<ToolButton>("button");
    QTest::addColumn<ToolIcon>("icon");
    QTest::newRow("Preview, one row shorter") << ToolButton::Preview << ToolIcon::Preview;
    QTest::newRow("Help, drawn with curves") << ToolButton::Help << ToolIcon::Help;
}

void tst_Desktop::toolPicturesAreDrawnAtTheRatio()
{
    QFETCH(ToolButton, button);
    QFETCH(ToolIcon, icon);
    QToolButton *tool = w.window->toolButton(button);
    const QPixmap shown = tool->icon().pixmap(tool->iconSize(), tool->devicePixelRatioF());
    // Drawn at twice the size, not the small picture stretched (which would be smoothed).
    QImage sharp = drawnToolPicture(icon, 2.0).toImage().convertToFormat(
        QImage::Format_ARGB32_Premultiplied);
    sharp.setDevicePixelRatio(2.0);
    QCOMPARE(shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), sharp);
}

void tst_Desktop::previewScrolls_data()
{
    QTest::addColumn<QString>("input"); // keys, or a wheel's turn
    QTest::addColumn<QPoint>("bars"); // values; -1: the last
    QTest::newRow("Down past the end stays") << u"End, Down"_s << QPoint(0, -1);
    QTest::newRow("Home after End, the top") << u"End, Home"_s << QPoint(0, 0);
    QTest::newRow("Right, one column") << u"Right"_s << QPoint(1, 0);
    QTest::newRow("with Ctrl, no scrolling") << u"Ctrl+Down"_s << QPoint(0, 0);
    QTest::newRow("wheel turned towards the user: down") << u"wheel 0 -120"_s << QPoint(0, 3);
    QTest::newRow("wheel tilted: across") << u"wheel -120 0"_s << QPoint(3, 0);
}

void tst_Desktop::previewScrolls()
{
    QFETCH(QString, input);
    QFETCH(QPoint, bars);
    w.window->preview();
    PreviewArea *area = w.window->previewArea();
    QWidget *view = area->view();
    view->setFocus(Qt::TabFocusReason);
    if (input.startsWith(u"wheel")) {
        const QPointF at = view->rect().center();
        const QPoint delta(input.section(u' ', 1, 1).toInt(), input.section(u' ', 2, 2).toInt());
        QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
    } else {
        QTest::keySequence(view, QKeySequence(input));
    }
    const int down = bars.y() < 0 ? area->verticalBar()->maximum() : bars.y();
    QCOMPARE(QPoint(area->horizontalBar()->value(), area->verticalBar()->value()),
             QPoint(bars.x(), down));
    QCOMPARE(area->picture().top(), -qint64(down) * w.window->state().metrics.lineHeight);
}

void tst_Desktop::tabChain()
{
    // The preview lies between the boxes and the file list (past its bars); the tool buttons
    // are left out.
    const QStringList chain { u"dlbFolder"_s, u"drlbDrive"_s, u"comFilter"_s, u"chkNormal"_s,
                              u"chkHidden"_s, u"chkSystem"_s, u"chkRO"_s,     u"chkArchive"_s,
                              u"Picture1"_s,  u"flbFile"_s,   u"exit"_s,      u"dlbFolder"_s };
    w.window->findChild<QWidget *>(chain.first())->setFocus(Qt::TabFocusReason);
    for (qsizetype i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = QApplication::focusWidget()->objectName(); // Exit has none
        QCOMPARE(name.isEmpty() ? u"exit"_s : name, chain[i]);
    }
}

void tst_Desktop::everyControlHasAnAccessibleName()
{
    int checked = 0;
    for (QWidget *widget : w.window->centralWidget()->findChildren<QWidget *>()) {
        const bool focusable = widget->focusPolicy() != Qt::NoFocus
            || qobject_cast<QToolButton *>(widget) != nullptr;
        if (!focusable || !widget->isVisibleTo(w.window.get()) || widget->focusProxy())
            continue;
        ++checked;
        // Given, or made by the accessible interface from the caption.
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(!widget->accessibleName().trimmed().isEmpty()
                     || (face && !face->text(QAccessible::Name).trimmed().isEmpty()),
                 qPrintable(widget->objectName()));
    }
    QVERIFY(checked >= 15);
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
