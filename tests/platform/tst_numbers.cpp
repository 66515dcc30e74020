#include "platform/numbers.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Numbers : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void roundHalfEven_data();
    void roundHalfEven();
    void roundHalfEvenIn_data();
    void roundHalfEvenIn();
    void leadingNumber_data();
    void leadingNumber();
    void numberText_data();
    void numberText();
    void signPosition_data();
    void signPosition();
    void signPositionFloat_data();
    void signPositionFloat();
    void signPositionRoundTrip_data();
    void signPositionRoundTrip();
    void grouped_data();
    void grouped();
    void groupedUnsigned();
    void fixedForms_data();
    void fixedForms();
};

void tst_Numbers::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("half down to even") << 2.5 << qint64(2);
    QTest::newRow("half up to even") << 3.5 << qint64(4);
    QTest::newRow("negative half to even") << -2.5 << qint64(-2);
    QTest::newRow("negative half up in magnitude") << -3.5 << qint64(-4);
    QTest::newRow("zero point five") << 0.5 << qint64(0);
    QTest::newRow("just above half") << 2.5000000001 << qint64(3);
    QTest::newRow("just below half") << 2.4999999999 << qint64(2);
    QTest::newRow("margin 1134.5") << 1134.5 << qint64(1134);
    QTest::newRow("margin 1135.5") << 1135.5 << qint64(1136);
    QTest::newRow("beyond 32 bits") << 6000000000.5 << qint64(6000000000);
    QTest::newRow("NaN gives zero") << std::nan("") << qint64(0);
    QTest::newRow("+inf saturates")
        << std::numeric_limits<double>::infinity() << std::numeric_limits<qint64>::max();
    QTest::newRow("-inf saturates")
        << -std::numeric_limits<double>::infinity() << std::numeric_limits<qint64>::min();
    QTest::newRow("2^63 saturates") << 9223372036854775808.0 << std::numeric_limits<qint64>::max();
    QTest::newRow("-2^63 fits") << -9223372036854775808.0 << std::numeric_limits<qint64>::min();
}

void tst_Numbers::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QCOMPARE(qm::roundHalfEven(value), expected);
}

void tst_Numbers::roundHalfEvenIn_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("16-bit top") << 32767.0 << true << qint64(32767);
    QTest::newRow("rounds past 16-bit top") << 32767.5 << false << qint64(0);
    QTest::newRow("rounds back inside 16-bit bottom") << -32768.5 << true << qint64(-32768);
    QTest::newRow("below 16-bit bottom") << -32769.0 << false << qint64(0);
    QTest::newRow("NaN does not fit") << std::nan("") << false << qint64(0);
    QTest::newRow("infinity does not fit")
        << std::numeric_limits<double>::infinity() << false << qint64(0);
}

void tst_Numbers::roundHalfEvenIn()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(qint64, expected);
    const std::optional<qint64> result = qm::roundHalfEvenIn(value, -32768, 32767);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(*result, expected);
}

void tst_Numbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("no number") << u"abc"_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("blanks only") << u"   "_s << 0.0;
    QTest::newRow("sign only") << u"-"_s << 0.0;
    QTest::newRow("point only") << u"."_s << 0.0;
    QTest::newRow("leading blank and trailing junk") << u" 1134.5x"_s << 1134.5;
    QTest::newRow("tab before") << u"\t7"_s << 7.0;
    QTest::newRow("negative without zero") << u"-.5"_s << -0.5;
    QTest::newRow("plus sign") << u"+3"_s << 3.0;
    QTest::newRow("blank between sign and digits") << u"- 3"_s << 0.0;
    QTest::newRow("trailing point") << u"12."_s << 12.0;
    QTest::newRow("second point ends") << u"1.2.3"_s << 1.2;
    QTest::newRow("exponent") << u"1.5e3"_s << 1500.0;
    QTest::newRow("negative exponent") << u"25E-2"_s << 0.25;
    QTest::newRow("exponent without digits ignored") << u"2e"_s << 2.0;
    QTest::newRow("exponent sign without digits ignored") << u"2e+x"_s << 2.0;
    QTest::newRow("comma is not a point") << u"1,5"_s << 1.0;
    QTest::newRow("non-ASCII digits are no number") << u"\u0661\u0662"_s << 0.0;
    QTest::newRow("overflow is infinite") << u"1e999"_s << std::numeric_limits<double>::infinity();
    QTest::newRow("negative overflow") << u"-123e400"_s << -std::numeric_limits<double>::infinity();
    QTest::newRow("underflow is zero") << u"1e-999"_s << 0.0;
    QTest::newRow("long fraction underflow") << u"0.0001e-400"_s << 0.0;
    QTest::newRow("huge exponent text")
        << u"1e99999999999999999999"_s << std::numeric_limits<double>::infinity();
}

void tst_Numbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(qm::leadingNumber(text), expected);
}

void tst_Numbers::numberText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain digits") << u"255"_s << true << 255.0;
    QTest::newRow("blanks around") << u" -1 "_s << true << -1.0;
    QTest::newRow("decimal") << u"2.5"_s << true << 2.5;
    QTest::newRow("trailing junk") << u"255x"_s << false << 0.0;
    QTest::newRow("word") << u"abc"_s << false << 0.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("exponent without digits is junk") << u"2e"_s << false << 0.0;
}

void tst_Numbers::numberText()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, expected);
    const std::optional<double> result = qm::numberText(text);
    QCOMPARE(result.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*result, expected);
}

void tst_Numbers::signPosition_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole, blank for the sign") << 1134.0 << u" 1134"_s;
    QTest::newRow("below one, no leading zero") << 0.6 << u" .6"_s;
    QTest::newRow("fraction kept") << 9.75 << u" 9.75"_s;
    QTest::newRow("negative keeps its minus") << -2.5 << u"-2.5"_s;
    QTest::newRow("negative below one") << -0.5 << u"-.5"_s;
    QTest::newRow("zero") << 0.0 << u" 0"_s;
    QTest::newRow("negative zero has no minus") << -0.0 << u" 0"_s;
    QTest::newRow("no grouping") << 1234567.0 << u" 1234567"_s;
    QTest::newRow("fifteen digits") << 0.1 + 0.2 << u" .3"_s;
    QTest::newRow("huge uses exponent") << 1e20 << u" 1e+20"_s;
    QTest::newRow("NaN writes zero") << std::nan("") << u" 0"_s;
}

void tst_Numbers::signPosition()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(signPositionText(value), text);
}

void tst_Numbers::signPositionFloat_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("share .6") << 0.6f << u" .6"_s;
    QTest::newRow("share .15, not its binary tail") << 0.15f << u" .15"_s;
    QTest::newRow("share .25") << 0.25f << u" .25"_s;
    QTest::newRow("a third, seven digits") << 1.0f / 3.0f << u" .3333333"_s;
    QTest::newRow("negative share") << -0.15f << u"-.15"_s;
    QTest::newRow("whole share") << 1.0f << u" 1"_s;
}

void tst_Numbers::signPositionFloat()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(signPositionText(value), text);
}

void tst_Numbers::signPositionRoundTrip_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("margin") << 2268.0;
    QTest::newRow("tiny uses exponent") << 1.5e-9;
    QTest::newRow("negative fraction") << -0.125;
    QTest::newRow("large") << 123456789012345.0;
}

void tst_Numbers::signPositionRoundTrip()
{
    QFETCH(double, value);
    QCOMPARE(qm::leadingNumber(signPositionText(value)), value);
}

void tst_Numbers::grouped_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("zero") << us << qint64(0) << u"0"_s;
    QTest::newRow("three digits, no separator") << us << qint64(999) << u"999"_s;
    QTest::newRow("four digits") << us << qint64(1000) << u"1,000"_s;
    QTest::newRow("millions") << us << qint64(1234567) << u"1,234,567"_s;
    QTest::newRow("negative") << us << qint64(-1234) << u"-1,234"_s;
    QTest::newRow("beyond 32 bits") << us << qint64(5000000000) << u"5,000,000,000"_s;
    QTest::newRow("most negative 64-bit")
        << us << std::numeric_limits<qint64>::min() << u"-9,223,372,036,854,775,808"_s;
    QTest::newRow("C locale still groups") << QLocale::c() << qint64(1234567) << u"1,234,567"_s;
    QTest::newRow("German groups with points") << de << qint64(1234567) << u"1.234.567"_s;
}

void tst_Numbers::grouped()
{
    QFETCH(QLocale, locale);
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    QCOMPARE(groupedNumber(value), text);
}

void tst_Numbers::groupedUnsigned()
{
    QCOMPARE(groupedNumber(std::numeric_limits<quint64>::max()), u"18,446,744,073,709,551,615"_s);
    QCOMPARE(groupedNumber(quint64(12)), u"12"_s);
}

void tst_Numbers::fixedForms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("fixed2");
    QTest::addColumn<QString>("whole");
    QTest::newRow("two centimetres") << 2.0 << u"2.00"_s << u"2"_s;
    QTest::newRow("below one keeps its zero") << 0.6 << u"0.60"_s << u"1"_s;
    QTest::newRow("exact half to even") << 2.5 << u"2.50"_s << u"2"_s;
    QTest::newRow("odd half up") << 3.5 << u"3.50"_s << u"4"_s;
    QTest::newRow("hundredths tie to even") << 0.125 << u"0.12"_s << u"0"_s;
    QTest::newRow("hundredths tie up to even") << 0.375 << u"0.38"_s << u"0"_s;
    QTest::newRow("negative") << -1.256 << u"-1.26"_s << u"-1"_s;
    QTest::newRow("negative rounding to zero") << -0.001 << u"0.00"_s << u"0"_s;
    QTest::newRow("no grouping") << 12345.678 << u"12345.68"_s << u"12346"_s;
    QTest::newRow("NaN shows zero") << std::nan("") << u"0.00"_s << u"0"_s;
}

void tst_Numbers::fixedForms()
{
    QFETCH(double, value);
    QFETCH(QString, fixed2);
    QFETCH(QString, whole);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // never the locale's comma
    QCOMPARE(fixed2Text(value), fixed2);
    QCOMPARE(wholeText(value), whole);
}

QTEST_GUILESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
