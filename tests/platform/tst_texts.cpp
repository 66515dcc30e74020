#include "platform/datetext.h"
#include "platform/filenames.h"
#include "platform/numbers.h"
#include "platform/wildcard.h"

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

// The texts the program makes of numbers, dates and file names, and the patterns that match
// names.
class tst_Texts : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        qputenv("TZ", "UTC");
        tzset();
    }
    void numbers_data();
    void numbers();
    void dates_data();
    void dates();
    void isoTimes_data();
    void isoTimes();
    void displayName_data();
    void displayName();
    void pattern_data();
    void pattern();
};

void tst_Texts::numbers_data()
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

void tst_Texts::numbers()
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

void tst_Texts::dates_data()
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

void tst_Texts::dates()
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

void tst_Texts::isoTimes_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("iso");
    const qint64 afternoon = utc(2026, 12, 7, 13, 5, 9);
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
    QTest::newRow("a time that cannot be converted")
        << QByteArray("UTC") << std::numeric_limits<qint64>::max() << QString();
}

void tst_Texts::isoTimes()
{
    QFETCH(QByteArray, zone);
    QFETCH(qint64, seconds);
    qputenv("TZ", zone);
    tzset();
    QTEST(isoDateTime(seconds), "iso");
}

void tst_Texts::displayName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("text");
    auto row = [](const char *tag, const char *name, const QString &text) {
        QTest::newRow(tag) << QByteArray(name) << text;
    };
    row("plain ASCII untouched", "Notes 2026.txt", u"Notes 2026.txt"_s);
    row("lone invalid byte", "a\xff", u"a\\xff"_s);
    row("newline and tab", "a\nb\t", u"a\\nb\\t"_s);
    // Long names are checked eight bytes at a time: each kind of byte inside the first word.
    row("DEL among the first eight bytes", "abc\177defghijk", u"abc\\x7fdefghijk"_s);
    row("control among the first eight bytes", "abcdefg\001hij", u"abcdefg\\x01hij"_s);
    row("C1 next line", "a\xc2\x85", u"a\\u0085"_s);
    row("right-to-left override", "\xe2\x80\xae", u"\\u202e"_s);
    row("line separator ends no line",
        "a\xe2\x80\xa8"
        "b",
        u"a\\u2028b"_s);
    row("byte order mark before a name", "\357\273\277a.txt", u"\\ufeffa.txt"_s);
    row("noncharacter U+FFFE", "\xef\xbf\xbe", u"\\ufffe"_s);
    row("trailing blank", "a.txt ", u"a.txt\\x20"_s);
    row("leading blank, inner blank stays", " a b", u"\\x20a b"_s);
}

void tst_Texts::displayName()
{
    QFETCH(QByteArray, name);
    QTEST(qm::displayName(name), "text");
}

void tst_Texts::pattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("expected");
    QTest::newRow("*.* on a name without a dot") << u"*.*"_s << QByteArray("README") << true;
    QTest::newRow("case ignored") << u"*.txt"_s << QByteArray("NOTES.TXT") << true;
    QTest::newRow("whole name: longer extension") << u"*.txt"_s << QByteArray("a.txta") << false;
    QTest::newRow("list with blanks") << u"  *.doc ;  *.dot  "_s << QByteArray("a.dot") << true;
    QTest::newRow("invalid byte, escaped") << u"a\\xff*"_s << QByteArray("a\xff.txt") << true;
    QTest::newRow("escaped newline is not one character")
        << u"a?b"_s << QByteArray("a\nb") << false;
    QTest::newRow("trailing blank, its escape") << u"a\\x20"_s << QByteArray("a ") << true;
}

void tst_Texts::pattern()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, name);
    QFETCH(bool, expected);
    const PatternMatcher matcher(pattern);
    QCOMPARE(matcher.matches(QByteArrayView(name)), expected);
    QCOMPARE(matcher.matches(QStringView(qm::displayName(name))), expected);
}

QTEST_GUILESS_MAIN(tst_Texts)
#include "tst_texts.moc"
