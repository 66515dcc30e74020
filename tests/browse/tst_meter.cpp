#include "browse/meter.h"
#include "browse/recordingmetercanvas.h"

#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Meter : public QObject
{
    Q_OBJECT

private slots:
    void fullOnStatusStripSize();
    void zeroClearsInside();
    void blocks_data();
    void blocks();
    void frameStyles_data();
    void frameStyles();
    void otherStyleKeepsPreviousColours();

private:
    static QStringList boxes(const QStringList &calls) { return calls.filter(u"box "_s); }
};

namespace {
const QColor Bar(128, 0, 128);
const QColor Back(192, 192, 192);
} // namespace

void tst_Meter::fullOnStatusStripSize()
{
    RecordingMeterCanvas canvas(2685, 200);
    Meter meter;
    meter.drawMeter(canvas, Meter::Raised, Bar, Back, 100);

    QStringList expected {
        u"width 2"_s,
        u"line 0,0 2685,0 #ffffff"_s,
        u"line 0,0 0,200 #ffffff"_s,
        u"line 0,198 2685,198 #808080"_s,
        u"line 2683,0 2683,198 #808080"_s,
        u"width 1"_s,
    };
    for (int x = 60; x <= 2460; x += 120)
        expected << u"box %1,60 %2,120 #800080"_s.arg(x).arg(x + 60);
    QCOMPARE(canvas.calls(), expected);
    QCOMPARE(boxes(canvas.calls()).size(), 21);
}

void tst_Meter::zeroClearsInside()
{
    RecordingMeterCanvas canvas(2685, 200);
    Meter meter;
    meter.drawMeter(canvas, Meter::Flat, Bar, Back, 0);
    const QStringList expected {
        u"width 2"_s,
        u"line 0,0 2685,0 #c0c0c0"_s,
        u"line 0,0 0,200 #c0c0c0"_s,
        u"line 0,198 2685,198 #c0c0c0"_s,
        u"line 2683,0 2683,198 #c0c0c0"_s,
        u"box 1,1 2681,196 #c0c0c0"_s,
        u"width 1"_s,
    };
    QCOMPARE(canvas.calls(), expected);
}

void tst_Meter::blocks_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("1 percent: bar shorter than the first block")
        << 2685 << 200 << 1 << QStringList();
    QTest::newRow("3 percent reaches the first block")
        << 2685 << 200 << 3 << QStringList { u"box 60,60 120,120"_s };
    QTest::newRow("a half goes to the even neighbour, reaching a block")
        << 363 << 200 << 50 << QStringList { u"box 60,60 120,120"_s, u"box 180,60 240,120"_s };
    QTest::newRow("next block would end beyond the width")
        << 299 << 200 << 100 << QStringList { u"box 60,60 120,120"_s };
    QTest::newRow("block top: a half goes to the even neighbour (60.5)")
        << 2685 << 201 << 3 << QStringList { u"box 60,60 120,120"_s };
    QTest::newRow("block top: a half goes to the even neighbour (61.5)")
        << 2685 << 203 << 3 << QStringList { u"box 60,62 120,122"_s };
    QTest::newRow("more than 100 percent stays inside the width")
        << 400 << 200 << 250 << QStringList { u"box 60,60 120,120"_s, u"box 180,60 240,120"_s };
    QTest::newRow("negative percentage draws no block") << 2685 << 200 << -5 << QStringList();
}

void tst_Meter::blocks()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, percent);
    QFETCH(QStringList, expected);
    RecordingMeterCanvas canvas(width, height);
    Meter meter;
    meter.drawMeter(canvas, Meter::Raised, Bar, Back, percent);
    QStringList drawn = boxes(canvas.calls());
    for (QString &box : drawn)
        box.chop(8); // the colour
    QCOMPARE(drawn, expected);
}

void tst_Meter::frameStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("topLeft");
    QTest::addColumn<QString>("bottomRight");
    QTest::newRow("flat") << 0 << u"#c0c0c0"_s << u"#c0c0c0"_s;
    QTest::newRow("sunken") << 1 << u"#808080"_s << u"#ffffff"_s;
    QTest::newRow("raised") << 2 << u"#ffffff"_s << u"#808080"_s;
    QTest::newRow("unknown style before any call is black") << 7 << u"#000000"_s << u"#000000"_s;
}

void tst_Meter::frameStyles()
{
    QFETCH(int, style);
    QFETCH(QString, topLeft);
    QFETCH(QString, bottomRight);
    RecordingMeterCanvas canvas(2685, 200);
    Meter meter;
    meter.drawMeter(canvas, style, Bar, Back, 50);
    const QStringList calls = canvas.calls();
    QVERIFY(calls.at(1).endsWith(topLeft));
    QVERIFY(calls.at(2).endsWith(topLeft));
    QVERIFY(calls.at(3).endsWith(bottomRight));
    QVERIFY(calls.at(4).endsWith(bottomRight));
}

void tst_Meter::otherStyleKeepsPreviousColours()
{
    RecordingMeterCanvas canvas(2685, 200);
    Meter meter;
    meter.drawMeter(canvas, Meter::Sunken, Bar, Back, 10);
    const QStringList first = canvas.calls().mid(0, 5);
    canvas.clear();
    meter.drawMeter(canvas, 3, Bar, Back, 10);
    QCOMPARE(canvas.calls().mid(0, 5), first);

    // Shrinking without reaching 0 leaves the earlier blocks alone: nothing is cleared.
    canvas.clear();
    meter.drawMeter(canvas, Meter::Raised, Bar, Back, 5);
    QVERIFY(canvas.calls().filter(u"#c0c0c0"_s).isEmpty());
}

QTEST_APPLESS_MAIN(tst_Meter)
#include "tst_meter.moc"
