#include "platform/datetext.h"

#include <QDateTime>
#include <QTest>

#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;
using namespace qm;

static qint64 utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC).toSecsSinceEpoch();
}

class tst_DateText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }
    void cleanupTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }
    void texts_data();
    void texts();
    void isoTimes_data();
    void isoTimes();
};

void tst_DateText::texts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("column");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("time-zone field removed")
        << us << utc(2026, 12, 6, 13, 4, 5) << u"12/6/26   1:04:05 PM"_s;
    QTest::newRow("midnight") << us << utc(1999, 1, 2, 0, 0, 0) << u"1/2/99   00:00:00"_s;
    QTest::newRow("a year that cannot be converted")
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

void tst_DateText::isoTimes_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("iso");
    const qint64 afternoon = utc(2026, 12, 7, 13, 5, 9);
    QTest::newRow("UTC writes +00:00, not Z")
        << QByteArray("UTC") << afternoon << u"2026-12-07T13:05:09+00:00"_s;
    QTest::newRow("east of Greenwich in winter")
        << QByteArray("Europe/Berlin") << afternoon << u"2026-12-07T14:05:09+01:00"_s;
    QTest::newRow("summer time moves the offset")
        << QByteArray("Europe/Berlin") << utc(2026, 7, 7, 13, 5, 9)
        << u"2026-07-07T15:05:09+02:00"_s;
    QTest::newRow("west: negative offset, the day before")
        << QByteArray("America/New_York") << utc(2026, 12, 7, 2, 0, 0)
        << u"2026-12-06T21:00:00-05:00"_s;
    QTest::newRow("half-hour offset")
        << QByteArray("Asia/Kolkata") << afternoon << u"2026-12-07T18:35:09+05:30"_s;
    QTest::newRow("local mean time rounded to the minute, the instant kept")
        << QByteArray("Europe/Amsterdam") << utc(1900, 1, 1, 12, 0, 0)
        << u"1900-01-01T12:20:00+00:20"_s;
    QTest::newRow("year beyond four digits gets its sign")
        << QByteArray("UTC") << utc(12000, 1, 2, 3, 4, 5) << u"+12000-01-02T03:04:05+00:00"_s;
    QTest::newRow("the epoch") << QByteArray("UTC") << 0LL << u"1970-01-01T00:00:00+00:00"_s;
    QTest::newRow("a time that cannot be converted")
        << QByteArray("UTC") << std::numeric_limits<qint64>::max() << QString();
}

void tst_DateText::isoTimes()
{
    QFETCH(QByteArray, zone);
    QFETCH(qint64, seconds);
    qputenv("TZ", zone);
    tzset();
    QTEST(isoDateTime(seconds), "iso");
}

QTEST_GUILESS_MAIN(tst_DateText)
#include "tst_datetext.moc"
