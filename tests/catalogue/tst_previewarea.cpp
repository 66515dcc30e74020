#include "app/runstate.h"
#include "catalogue/catalogfakes.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/previewarea.h"
#include "platform/twips.h"

#include <QFrame>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class tst_PreviewArea : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void viewportSizes();
    void scrollingBeforeAnyPreviewStaysPut_data();
    void scrollingBeforeAnyPreviewStaysPut();
    void scrollHandlers_data();
    void scrollHandlers();
    void dragWithoutTrackingMovesToo();
    void resetScrollGoesToTheCorner();
    void invitationCentredInTheWindow();
    void pressReportsThePictureY_data();
    void pressReportsThePictureY();
    void mouseMoveReported();
    void previewSetsRangesAndShowsTheFirstScreenful();
    void eitherMayGoFirst();
};

void tst_PreviewArea::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(screenTwipsPerPixel(), 15.0);
}

void tst_PreviewArea::viewportSizes()
{
    QWidget window;
    LineMetrics metrics;
    PreviewArea area(&window, metrics);
    QCOMPARE(area.viewWidth(), 7575);
    QCOMPARE(area.viewHeight(), 2415);
    // A sunken frame of two pixels on each side.
    QCOMPARE(area.viewScaleWidth(), 7515);
    QCOMPARE(area.viewScaleHeight(), 2355);
}

void tst_PreviewArea::scrollingBeforeAnyPreviewStaysPut_data()
{
    QTest::addColumn<int>("vertical");
    QTest::addColumn<int>("horizontal");
    QTest::newRow("one step each") << 1 << 1;
    QTest::newRow("to the far end") << 32767 << 32767;
}

void tst_PreviewArea::scrollingBeforeAnyPreviewStaysPut()
{
    QFETCH(int, vertical);
    QFETCH(int, horizontal);
    QWidget window;
    LineMetrics metrics; // no preview yet: steps of 0
    PreviewArea area(&window, metrics);
    area.verticalBar()->setValue(vertical);
    area.horizontalBar()->setValue(horizontal);
    QCOMPARE(area.verticalBar()->value(), vertical);
    QCOMPARE(area.picture().left(), 0);
    QCOMPARE(area.picture().top(), 0);
}

void tst_PreviewArea::scrollHandlers_data()
{
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<qint64>("left");
    QTest::addColumn<qint64>("top");

    // Steps of 98 and 220 twips; the picture is 9000 × 5000 twips.
    QTest::newRow("top-left") << 0 << 0 << qint64(0) << qint64(0);
    QTest::newRow("a few steps") << 5 << 3 << qint64(-490) << qint64(-660);
    QTest::newRow("exactly the picture's size") << 0 << 0 << qint64(0) << qint64(0);
    QTest::newRow("just inside the picture") << 91 << 22 << qint64(-8918) << qint64(-4840);
    QTest::newRow("beyond: clamped to the picture") << 92 << 23 << qint64(-9000) << qint64(-5000);
    QTest::newRow("far beyond") << 500 << 500 << qint64(-9000) << qint64(-5000);
}

void tst_PreviewArea::scrollHandlers()
{
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    QFETCH(qint64, left);
    QFETCH(qint64, top);

    QWidget window;
    LineMetrics metrics;
    metrics.columnGap = 98;
    metrics.lineHeight = 220;
    PreviewArea area(&window, metrics);
    area.picture().setWidth(9000);
    area.picture().setHeight(5000);
    area.setScrollMaximum(Qt::Horizontal, 500);
    area.setScrollMaximum(Qt::Vertical, 500);
    area.horizontalBar()->setValue(horizontal);
    area.verticalBar()->setValue(vertical);
    QCOMPARE(area.picture().left(), left);
    QCOMPARE(area.picture().top(), top);
}

void tst_PreviewArea::dragWithoutTrackingMovesToo()
{
    QWidget window;
    LineMetrics metrics;
    metrics.columnGap = 98;
    metrics.lineHeight = 220;
    PreviewArea area(&window, metrics);
    area.picture().setHeight(100000);
    QScrollBar *bar = area.verticalBar();
    bar->setTracking(false);
    bar->setSliderDown(true);
    bar->setSliderPosition(7); // the thumb moves; the value waits for the release
    QCOMPARE(bar->value(), 0);
    QCOMPARE(area.picture().top(), -1540);
}

void tst_PreviewArea::resetScrollGoesToTheCorner()
{
    QWidget window;
    LineMetrics metrics;
    metrics.columnGap = 98;
    metrics.lineHeight = 220;
    PreviewArea area(&window, metrics);
    area.horizontalBar()->setValue(20);
    area.verticalBar()->setValue(20);
    QVERIFY(area.picture().top() < 0);
    area.resetScroll();
    QCOMPARE(area.horizontalBar()->value(), 0);
    QCOMPARE(area.verticalBar()->value(), 0);
    QCOMPARE(area.picture().left(), 0);
    QCOMPARE(area.picture().top(), 0);
}

void tst_PreviewArea::invitationCentredInTheWindow()
{
    QWidget window;
    LineMetrics metrics;
    PreviewArea area(&window, metrics);
    PreviewPicture &picture = area.picture();
    picture.setWidth(50000); // a wide catalogue before: the text still centres in the window
    picture.setFontName(u"Arial"_s);
    picture.setFontSize(12);
    picture.setForeColor(0x00123456);
    picture.cls();
    area.emptyPicture();

    QCOMPARE(picture.itemCount(), 1);
    const PreviewPicture::Item item = picture.item(0);
    QCOMPARE(item.colour, QColor(0, 0, 255));
    QVERIFY(item.font.bold());
    QCOMPARE(item.font.pointSizeF(), 12.0);
    picture.setFontBold(true);
    const double width = picture.textWidth(item.text);
    picture.setFontBold(false);
    QVERIFY(qAbs(item.x + width / 2 - 7515 / 2.0) <= 1);
    QCOMPARE(picture.foreColor(), 0x00123456);
    QCOMPARE(picture.fontBold(), false);
}

void tst_PreviewArea::pressReportsThePictureY_data()
{
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<double>("y");

    // The inner area starts 2 pixels into the window; 15 twips a pixel.
    QTest::newRow("top line, not scrolled")
        << qint64(0) << QPoint(10, 2) << Qt::LeftButton << Qt::KeyboardModifiers() << 0.0;
    QTest::newRow("scrolled down") << qint64(-2200) << QPoint(10, 20) << Qt::LeftButton
                                   << Qt::KeyboardModifiers(Qt::ShiftModifier) << 2470.0;
    QTest::newRow("right button") << qint64(0) << QPoint(200, 52) << Qt::RightButton
                                  << Qt::KeyboardModifiers(Qt::ControlModifier) << 750.0;
}

void tst_PreviewArea::pressReportsThePictureY()
{
    QFETCH(qint64, top);
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(double, y);

    QWidget window;
    LineMetrics metrics;
    PreviewArea area(&window, metrics);
    area.picture().setTop(top);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy pressed(&area, &PreviewArea::picturePressed);
    QTest::mousePress(area.view(), button, modifiers, at);
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(pressed.at(0).at(0).toDouble(), y);
    QCOMPARE(pressed.at(0).at(1).value<Qt::MouseButton>(), button);
    QCOMPARE(pressed.at(0).at(2).value<Qt::KeyboardModifiers>(), modifiers);

    // The frame is not the picture.
    QTest::mousePress(area.view(), button, modifiers, QPoint(1, 1));
    QCOMPARE(pressed.size(), 1);
}

void tst_PreviewArea::mouseMoveReported()
{
    QWidget window;
    LineMetrics metrics;
    PreviewArea area(&window, metrics);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy moved(&area, &PreviewArea::pictureMouseMoved);
    auto moveTo = [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, area.view()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(area.view(), &move);
    };
    moveTo(QPoint(100, 50));
    QCOMPARE(moved.size(), 1);
    moveTo(QPoint(1, 50)); // on the frame
    QCOMPARE(moved.size(), 1);
}

void tst_PreviewArea::previewSetsRangesAndShowsTheFirstScreenful()
{
    QWidget window;
    RunState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    PreviewArea area(&window, state.metrics);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    FakeSource source;
    for (int i = 0; i < 1000; ++i)
        source.add(u"file%1.txt"_s.arg(i), i, 1'700'000'000 + i);
    RecordingHost host;
    PaintCounter counter;
    area.view()->installEventFilter(&counter);
    area.resetScroll();
    CatalogueWriter(state, source, area, host).writePreview(area.picture());
    // Painted while the writer ran, before any event was handled.
    QCOMPARE(counter.paints, 1);

    const int lineHeight = state.metrics.lineHeight;
    QVERIFY(lineHeight > 0);
    QCOMPARE(area.picture().height(), 1000 * qint64(lineHeight));
    QCOMPARE(area.picture().width(), 7515);
    QCOMPARE(area.horizontalBar()->maximum(), 10);
    QCOMPARE(area.verticalBar()->maximum(), qRound((1000.0 * lineHeight - 2355) / lineHeight + 2));
    QCOMPARE(area.verticalBar()->minimum(), 0);
    QCOMPARE(area.picture().itemCount(), 3000);

    area.verticalBar()->setValue(area.verticalBar()->maximum());
    QCOMPARE(
        area.picture().top(),
        -qMin<qint64>(qint64(area.verticalBar()->maximum()) * lineHeight, area.picture().height()));
}

void tst_PreviewArea::eitherMayGoFirst()
{
    LineMetrics metrics;
    {
        auto *window = new QWidget;
        new PreviewArea(window, metrics);
        window->show();
        delete window; // takes the area and its widgets with it
    }
    {
        QWidget window;
        auto *area = new PreviewArea(&window, metrics);
        window.show();
        delete area; // takes its widgets, leaves the window
        QVERIFY(window.findChildren<QScrollBar *>().isEmpty());
        QVERIFY(window.findChildren<QFrame *>().isEmpty());
        QCoreApplication::processEvents();
    }
}

QTEST_MAIN(tst_PreviewArea)
#include "tst_previewarea.moc"
