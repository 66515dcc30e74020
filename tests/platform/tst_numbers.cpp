#include "platform/numbers.h"

#include <QLocale>
#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Numbers : public QObject
{
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
};

void tst_Numbers::numbers_data()
{
    QTest::addColumn<QString>("text"); // read for its leading number
    QTest::addColumn<double>("leading");
    QTest::addColumn<QString>("grouped"); // "#,##0" of the half-even rounded number, C locale
    QTest::addColumn<QString>("written"); // with the sign's position kept for a plus
    QTest::newRow("half down to even") << u"2.5"_s << 2.5 << u"2"_s << u" 2.5"_s;
    QTest::newRow("half up to even") << u"3.5"_s << 3.5 << u"4"_s << u" 3.5"_s;
    QTest::newRow("negative half, below one written bare")
        << u"-0.5"_s << -0.5 << u"0"_s << u"-.5"_s;
    QTest::newRow("trailing junk, beyond 32 bits")
        << u" 6000000000.5x"_s << 6000000000.5 << u"6,000,000,000"_s << u" 6000000000.5"_s;
    QTest::newRow("a comma ends the number") << u"1,5"_s << 1.0 << u"1"_s << u" 1"_s;
    QTest::newRow("not a number") << u"- 3"_s << 0.0 << u"0"_s << u" 0"_s;
}

void tst_Numbers::numbers()
{
    QFETCH(QString, text);
    QFETCH(double, leading);
    QFETCH(QString, grouped);
    QFETCH(QString, written);
    QCOMPARE(leadingNumber(text), leading);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(groupedNumber(roundHalfEven(leading)), grouped);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(groupedNumber(roundHalfEven(leading)), QString(grouped).replace(u',', u'.'));
    QCOMPARE(signPositionText(leading), written);
    QCOMPARE(signPositionText(leadingNumber(written)), written); // what is written reads back
}

QTEST_GUILESS_MAIN(tst_Numbers)
#include "tst_numbers.moc"
