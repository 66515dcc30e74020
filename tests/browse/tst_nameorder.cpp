#include "browse/nameorder.h"

#include <QTest>

using namespace qm;

class tst_NameOrder : public QObject
{
    Q_OBJECT

private slots:
    void pairs_data();
    void pairs();
};

void tst_NameOrder::pairs_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");

    QTest::newRow("case ignored: a before B") << QByteArray("a") << QByteArray("B");
    QTest::newRow("same letters: upper bytes first") << QByteArray("B") << QByteArray("b");
    QTest::newRow("shorter name first") << QByteArray("abc") << QByteArray("ABCD");
    QTest::newRow("digits compare as text") << QByteArray("file10") << QByteArray("file9");
    QTest::newRow("underscore before letters of either case")
        << QByteArray("_x") << QByteArray("A");
    QTest::newRow("difference beyond sixteen bytes")
        << QByteArray("aaaaaaaaaaaaaaaaaaaX") << QByteArray("AAAAAAAAAAAAAAAAAAAy");
    QTest::newRow("difference at byte sixteen")
        << QByteArray("0123456789abcdefA") << QByteArray("0123456789ABCDEFb");
    QTest::newRow("equal beyond sixteen bytes, bytes decide")
        << QByteArray("Long-name-beyond-the-prefix") << QByteArray("long-name-beyond-the-prefix");
    QTest::newRow("ASCII before accented") << QByteArray("f") << QByteArray("\xc3\xa9");
    QTest::newRow("accented ignores case, bytes decide")
        << QByteArray("\xc3\x89") << QByteArray("\xc3\xa9");
    QTest::newRow("accented upper sorts with lower") << QByteArray("\xc3\xa9"
                                                                   "a")
                                                     << QByteArray("\xc3\x89"
                                                                   "b");
    QTest::newRow("invalid byte sorts by its escaped text")
        << QByteArray("\xff") << QByteArray("a");
}

void tst_NameOrder::pairs()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QVERIFY(nameLess(first, second));
    QVERIFY(!nameLess(second, first));

    std::vector<QByteArray> names { second, first };
    sortByName(names);
    QCOMPARE(names, (std::vector<QByteArray> { first, second }));
}

QTEST_APPLESS_MAIN(tst_NameOrder)
#include "tst_nameorder.moc"
