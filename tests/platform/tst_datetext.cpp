#include "platform/datetext.h"

#include <QDateTime>
#include <QTest>

#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;
using namespace qm;

namespace {

qint64 utc(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
        .toSecsSinceEpoch();
}

// Switches the process's time zone for one test and puts it back.
class ZoneScope
{
public:
    explicit ZoneScope(const QByteArray &zone)
        : m_old(qgetenv("TZ"))
        , m_had(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneScope()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_old;
    bool m_had;
};

} // namespace

class tst_DateText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void zoneRemoved_data();
    void zoneRemoved();
    void texts_data();
    void texts();
    void localZoneDecidesTheDay();
    void repeatedTimesAgree();
};

void tst_DateText::initTestCase()
{
    QVERIFY(qgetenv("TZ") == "UTC");
}

void tst_DateText::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void tst_DateText::zoneRemoved_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zone last") << u"HH:mm:ss t"_s << u"HH:mm:ss"_s;
    QTest::newRow("zone after the day half") << u"h:mm:ss AP t"_s << u"h:mm:ss AP"_s;
    QTest::newRow("zone first") << u"t HH:mm:ss"_s << u"HH:mm:ss"_s;
    QTest::newRow("zone in brackets") << u"H:mm:ss (t)"_s << u"H:mm:ss"_s;
    QTest::newRow("long zone field") << u"HH:mm:ss tttt"_s << u"HH:mm:ss"_s;
    QTest::newRow("quoted t is literal") << u"H 'at' mm:ss t"_s << u"H 'at' mm:ss"_s;
    QTest::newRow("unit letters kept")
        << u"AP h\uc2dc m\ubd84 s\ucd08 t"_s << u"AP h\uc2dc m\ubd84 s\ucd08"_s;
    QTest::newRow("no zone at all") << u"HH:mm:ss"_s << u"HH:mm:ss"_s;
}

void tst_DateText::zoneRemoved()
{
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(timeFormatWithoutZone(format), expected);
}

void tst_DateText::texts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("column");

    const QLocale c = QLocale::c();
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);

    QTest::newRow("C: short date with blanks, split before the time")
        << c << utc(2026, 12, 6, 13, 4, 5) << u"6 Dec 2026 13:04:05"_s
        << u"6 Dec 2026   13:04:05"_s;
    QTest::newRow("C: midnight is the date alone")
        << c << utc(2026, 12, 6, 0, 0, 0) << u"6 Dec 2026"_s << u"6 Dec 2026   00:00:00"_s;
    QTest::newRow("en_US: afternoon")
        << us << utc(2026, 12, 6, 13, 4, 5) << u"12/6/26 1:04:05 PM"_s << u"12/6/26   1:04:05 PM"_s;
    QTest::newRow("en_US: one second past midnight keeps its time")
        << us << utc(2026, 12, 6, 0, 0, 1) << u"12/6/26 12:00:01 AM"_s
        << u"12/6/26   12:00:01 AM"_s;
    QTest::newRow("en_US: midnight")
        << us << utc(1999, 1, 2, 0, 0, 0) << u"1/2/99"_s << u"1/2/99   00:00:00"_s;
    QTest::newRow("en_US: last second before the epoch")
        << us << qint64(-1) << u"12/31/69 11:59:59 PM"_s << u"12/31/69   11:59:59 PM"_s;
    QTest::newRow("de_DE: seconds kept")
        << de << utc(2026, 12, 6, 13, 4, 5) << u"06.12.26 13:04:05"_s << u"06.12.26   13:04:05"_s;
    QTest::newRow("C: five-digit year") << c << utc(12026, 12, 6, 13, 4, 5)
                                        << u"6 Dec 12026 13:04:05"_s << u"6 Dec 12026   13:04:05"_s;
    QTest::newRow("cannot be converted")
        << us << std::numeric_limits<qint64>::max() << QString() << u"  /  /     00:00:00"_s;
    QTest::newRow("cannot be converted, far past")
        << c << std::numeric_limits<qint64>::min() << QString() << u"  /  /     00:00:00"_s;
}

void tst_DateText::texts()
{
    QFETCH(QLocale, locale);
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QFETCH(QString, column);

    QLocale::setDefault(locale);
    DateTimeFormatter formatter;
    QCOMPARE(formatter.text(seconds), text);
    QCOMPARE(formatter.columnText(seconds), column);
    QCOMPARE(formatter.parts(seconds).isEmpty(), text.isEmpty());
}

void tst_DateText::localZoneDecidesTheDay()
{
    ZoneScope zone("QMT-2"); // two hours east of UTC, no daylight saving
    QLocale::setDefault(QLocale::c());
    DateTimeFormatter formatter;
    QCOMPARE(formatter.text(utc(2026, 12, 6, 23, 30, 0)), u"7 Dec 2026 01:30:00"_s);
    QCOMPARE(formatter.text(utc(2026, 12, 6, 22, 0, 0)), u"7 Dec 2026"_s);
}

void tst_DateText::repeatedTimesAgree()
{
    // The same time of day on another day, and the same day at another time, come from the
    // kept texts; they must pair up correctly.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    DateTimeFormatter formatter;
    QCOMPARE(formatter.text(utc(2026, 12, 6, 13, 4, 5)), u"12/6/26 1:04:05 PM"_s);
    QCOMPARE(formatter.text(utc(2026, 12, 7, 13, 4, 5)), u"12/7/26 1:04:05 PM"_s);
    QCOMPARE(formatter.text(utc(2026, 12, 6, 0, 0, 0)), u"12/6/26"_s);
    QCOMPARE(formatter.text(utc(2026, 12, 6, 13, 4, 6)), u"12/6/26 1:04:06 PM"_s);
    QCOMPARE(formatter.text(std::numeric_limits<qint64>::max()), QString());
    QCOMPARE(formatter.text(utc(2026, 12, 6, 13, 4, 5)), u"12/6/26 1:04:05 PM"_s);
}

QTEST_GUILESS_MAIN(tst_DateText)
#include "tst_datetext.moc"
