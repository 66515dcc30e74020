#include "platform/colour.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

using namespace qm;

class tst_Colour : public QObject
{
    Q_OBJECT

private slots:
    void fromBgr_data();
    void fromBgr();
    void roundTrip_data();
    void roundTrip();
    void systemColours_data();
    void systemColours();
    void unknownSystemColour();
};

void tst_Colour::fromBgr_data()
{
    QTest::addColumn<qint32>("bgr");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("black") << qint32(0) << QColor(0, 0, 0);
    QTest::newRow("red is the low byte") << qint32(0x000000FF) << QColor(255, 0, 0);
    QTest::newRow("green is the middle byte") << qint32(0x0000FF00) << QColor(0, 255, 0);
    QTest::newRow("blue is the high colour byte") << qint32(0x00FF0000) << QColor(0, 0, 255);
    QTest::newRow("tool tip yellow") << qint32(0x00C0FFFF) << QColor(255, 255, 192);
    QTest::newRow("stray top byte ignored") << qint32(0x01404040) << QColor(64, 64, 64);
}

void tst_Colour::fromBgr()
{
    QFETCH(qint32, bgr);
    QFETCH(QColor, colour);
    QCOMPARE(colourFromBgr(bgr), colour);
}

void tst_Colour::roundTrip_data()
{
    QTest::addColumn<qint32>("bgr");
    QTest::newRow("black") << qint32(0);
    QTest::newRow("white") << qint32(0x00FFFFFF);
    QTest::newRow("mixed bytes") << qint32(0x00123456);
}

void tst_Colour::roundTrip()
{
    QFETCH(qint32, bgr);
    QCOMPARE(bgrFromColour(colourFromBgr(bgr)), bgr);
}

void tst_Colour::systemColours_data()
{
    QTest::addColumn<qint32>("bgr");
    QTest::addColumn<int>("role");
    QTest::newRow("window background") << qint32(0x80000005) << int(QPalette::Base);
    QTest::newRow("window text") << qint32(0x80000008) << int(QPalette::Text);
    QTest::newRow("button face") << qint32(0x8000000F) << int(QPalette::Button);
    QTest::newRow("button text") << qint32(0x80000012) << int(QPalette::ButtonText);
    QTest::newRow("highlight") << qint32(0x8000000D) << int(QPalette::Highlight);
    QTest::newRow("highlighted text") << qint32(0x8000000E) << int(QPalette::HighlightedText);
    QTest::newRow("button shadow") << qint32(0x80000010) << int(QPalette::Dark);
    QTest::newRow("button highlight") << qint32(0x80000014) << int(QPalette::Light);
}

void tst_Colour::systemColours()
{
    QFETCH(qint32, bgr);
    QFETCH(int, role);
    QPalette palette = QGuiApplication::palette();
    // Distinct colours per role, so a wrong mapping cannot pass by accident.
    const QColor marker(10, 20, 30 + role);
    palette.setColor(QPalette::Active, QPalette::ColorRole(role), marker);
    QGuiApplication::setPalette(palette);
    QVERIFY(isSystemColour(bgr));
    QCOMPARE(colourFromBgr(bgr), marker);
}

void tst_Colour::unknownSystemColour()
{
    QVERIFY(colourFromBgr(qint32(0x800000FF)).isValid());
    QVERIFY(!isSystemColour(0x00FFFFFF));
    QCOMPARE(bgrFromColour(QColor()), 0);
}

QTEST_MAIN(tst_Colour)
#include "tst_colour.moc"
