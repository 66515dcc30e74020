#include "platform/datetext.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QTest>

#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;
using namespace qm;

static qint64 utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC).toSecsSinceEpoch();
}

static void setZone(const char *zone)
{
    qputenv("TZ", zone);
    tzset();
}

class tst_DateText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setZone("UTC"); }
    void texts_data();
    void texts();
    void localZoneAndKeptTexts();
};

void tst_DateText::texts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("column");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const qint64 afternoon = utc(2026, 12, 6, 13, 4, 5);
    QTest::newRow("C") << QLocale::c() << afternoon << u"6 Dec 2026   13:04:05"_s;
    QTest::newRow("en_US") << us << afternoon << u"12/6/26   1:04:05 PM"_s;
    QTest::newRow("midnight") << us << utc(1999, 1, 2, 0, 0, 0) << u"1/2/99   00:00:00"_s;
    QTest::newRow("one second past midnight")
        << us << utc(2026, 12, 6, 0, 0, 1) << u"12/6/26   12:00:01 AM"_s;
    QTest::newRow("before the epoch") << us << qint64(-1) << u"12/31/69   11:59:59 PM"_s;
    QTest::newRow("five-digit year")
        << QLocale::c() << utc(12026, 12, 6, 13, 4, 5) << u"6 Dec 12026   13:04:05"_s;
    QTest::newRow("far future cannot be converted")
        << us << std::numeric_limits<qint64>::max() << u"  /  /     00:00:00"_s;
}

void tst_DateText::texts()
{
    QFETCH(QLocale, locale);
    QFETCH(qint64, seconds);
    QFETCH(QString, column);
    DateTimeFormatter formatter(locale);
    QCOMPARE(formatter.columnText(seconds), column);
    // The plain text is the date and its time, the date alone at midnight, empty without a date.
    QString text = column.startsWith(u' ') ? QString() : column.replace(u"   "_s, u" "_s);
    QCOMPARE(formatter.text(seconds), text.remove(u" 00:00:00"_s));
}

void tst_DateText::localZoneAndKeptTexts()
{
    const auto restore = qScopeGuard([] { setZone("UTC"); });
    setZone("QMT-2"); // two hours east of UTC, no daylight saving
    DateTimeFormatter formatter(QLocale::c());
    QCOMPARE(formatter.text(utc(2026, 12, 6, 23, 30, 0)), u"7 Dec 2026 01:30:00"_s);
    QCOMPARE(formatter.text(utc(2026, 12, 6, 22, 0, 0)), u"7 Dec 2026"_s);
    // Dates and times of day are formatted once and kept: they must still pair up.
    QCOMPARE(formatter.text(utc(2026, 12, 7, 23, 30, 0)), u"8 Dec 2026 01:30:00"_s);
    QCOMPARE(formatter.text(utc(2026, 12, 6, 23, 30, 1)), u"7 Dec 2026 01:30:01"_s);
    QCOMPARE(formatter.text(std::numeric_limits<qint64>::max()), QString());
    QCOMPARE(formatter.text(utc(2026, 12, 6, 23, 30, 0)), u"7 Dec 2026 01:30:00"_s);
}

QTEST_GUILESS_MAIN(tst_DateText)
#include "tst_datetext.moc"
