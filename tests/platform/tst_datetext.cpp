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
    void texts_data();
    void texts();
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

QTEST_GUILESS_MAIN(tst_DateText)
#include "tst_datetext.moc"
