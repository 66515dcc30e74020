#include "platform/colour.h"
#include "platform/numbers.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPalette>
#include <QTest>

#include <cmath>
#include <limits>

using namespace qm;
using namespace Qt::StringLiterals;

constexpr double Inf = std::numeric_limits<double>::infinity();

class tst_Numbers : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void rounding_data();
    void rounding();
    void reading_data();
    void reading();
    void signPosition_data();
    void signPosition();
    void colour_data();
    void colour();
};

void tst_Numbers::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("rounded");
    QTest::addColumn<QString>("grouped"); // "#,##0" of the rounded value
    QTest::addColumn<QString>("fixed2"); // "#0.00"
    QTest::addColumn<QString>("whole"); // "#0"
    QTest::newRow("half down to even") << 2.5 << qint64(2) << u"2"_s << u"2.50"_s << u"2"_s;
    QTest::newRow("half up to even") << 3.5 << qint64(4) << u"4"_s << u"3.50"_s << u"4"_s;
    QTest::newRow("negative half") << -2.5 << qint64(-2) << u"-2"_s << u"-2.50"_s << u"-2"_s;
    QTest::newRow("hundredths tie to even") << 0.125 << qint64(0) << u"0"_s << u"0.12"_s << u"0"_s;
    QTest::newRow("negative to zero") << -0.001 << qint64(0) << u"0"_s << u"0.00"_s << u"0"_s;
    QTest::newRow("beyond 32 bits")
        << 6e9 << qint64(6e9) << u"6,000,000,000"_s << u"6000000000.00"_s << u"6000000000"_s;
    QTest::newRow("-inf saturates") << -Inf << std::numeric_limits<qint64>::min()
                                    << u"-9,223,372,036,854,775,808"_s << u"0.00"_s << u"0"_s;
    QTest::newRow("+inf saturates") << Inf << std::numeric_limits<qint64>::max()
                                    << u"9,223,372,036,854,775,807"_s << u"0.00"_s << u"0"_s;
    QTest::newRow("NaN") << std::nan("") << qint64(0) << u"0"_s << u"0.00"_s << u"0"_s;
}

void tst_Numbers::rounding()
{
    QFETCH(double, value);
    QFETCH(qint64, rounded);
    QFETCH(QString, grouped);
    QFETCH(QString, fixed2);
    QFETCH(QString, whole);
    QCOMPARE(roundHalfEven(value), rounded);
    QLocale::setDefault(QLocale::c()); // groups all the same
    QCOMPARE(groupedNumber(rounded), grouped);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(groupedNumber(rounded), QString(grouped).replace(u',', u'.'));
    QCOMPARE(fixed2Text(value), fixed2); // typed back in, so never the locale's comma
    QCOMPARE(wholeText(value), whole);
}

void tst_Numbers::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("leading");
    QTest::addColumn<bool>("whole"); // the text holds nothing but the number
    QTest::newRow("empty") << QString() << 0.0 << false;
    QTest::newRow("blanks around") << u" -1 "_s << -1.0 << true;
    QTest::newRow("trailing junk") << u" 1134.5x"_s << 1134.5 << false;
    QTest::newRow("blank between sign and digits") << u"- 3"_s << 0.0 << false;
    QTest::newRow("comma is not a point") << u"1,5"_s << 1.0 << false;
    QTest::newRow("exponent without digits") << u"2e"_s << 2.0 << false;
    QTest::newRow("non-ASCII digits") << u"\u0661\u0662"_s << 0.0 << false;
    QTest::newRow("huge exponent text") << u"1e99999999999999999999"_s << Inf << true;
}

void tst_Numbers::reading()
{
    QFETCH(QString, text);
    QFETCH(double, leading);
    QFETCH(bool, whole);
    QCOMPARE(leadingNumber(text), leading);
    QCOMPARE(numberText(text), whole ? std::optional<double>(leading) : std::nullopt);
}

void tst_Numbers::signPosition_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("single"); // written from a float
    QTest::addColumn<QString>("text");
    QTest::newRow("negative below one") << -0.5 << false << u"-.5"_s;
    QTest::newRow("negative zero has no minus") << -0.0 << false << u" 0"_s;
    QTest::newRow("fifteen digits") << 0.1 + 0.2 << false << u" .3"_s;
    QTest::newRow("tiny uses exponent") << 1.5e-9 << false << u" 1.5e-09"_s;
    QTest::newRow("NaN writes zero") << std::nan("") << false << u" 0"_s;
    QTest::newRow("float .15, not its binary tail") << 0.15 << true << u" .15"_s;
}

void tst_Numbers::signPosition()
{
    QFETCH(double, value);
    QFETCH(bool, single);
    QFETCH(QString, text);
    QCOMPARE(single ? signPositionText(float(value)) : signPositionText(value), text);
    QCOMPARE(signPositionText(leadingNumber(text)), text); // what is written reads back
}

void tst_Numbers::colour_data()
{
    QTest::addColumn<qint32>("bgr");
    QTest::addColumn<int>("role"); // the palette role of a system colour, else -1
    QTest::addColumn<QColor>("colour");
    QTest::newRow("mixed bytes") << qint32(0x123456) << -1 << QColor(0x56, 0x34, 0x12);
    QTest::newRow("stray top byte ignored") << qint32(0x01404040) << -1 << QColor(64, 64, 64);
    QTest::newRow("window background") << qint32(0x80000005) << int(QPalette::Base) << QColor();
    QTest::newRow("unknown system colour")
        << qint32(0x800000FF) << int(QPalette::WindowText) << QColor();
}

void tst_Numbers::colour()
{
    QFETCH(qint32, bgr);
    QFETCH(int, role);
    QFETCH(QColor, colour);
    QCOMPARE(isSystemColour(bgr), role >= 0);
    if (role >= 0) {
        // A colour of its own per role, so that a wrong mapping cannot pass by accident.
        colour = QColor(10, 20, 30 + role);
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Active, QPalette::ColorRole(role), colour);
        QGuiApplication::setPalette(palette);
    } else {
        QCOMPARE(bgrFromColour(colour), bgr & 0x00FFFFFF);
    }
    QCOMPARE(colourFromBgr(bgr), colour);
}

QTEST_MAIN(tst_Numbers)
#include "tst_numbers.moc"
