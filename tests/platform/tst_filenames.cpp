#include "platform/filenames.h"
#include "platform/wildcard.h"

#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_FileNames : public QObject
{
    Q_OBJECT

private slots:
    void displayName_data();
    void displayName();
    void pattern_data();
    void pattern();
};

void tst_FileNames::displayName_data()
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
    row("zero-width space alone", "\xe2\x80\x8b", u"\\u200b"_s);
    row("byte order mark before a name", "\357\273\277a.txt", u"\\ufeffa.txt"_s);
    row("noncharacter U+FFFE", "\xef\xbf\xbe", u"\\ufffe"_s);
    row("trailing blank", "a.txt ", u"a.txt\\x20"_s);
    row("leading blank, inner blank stays", " a b", u"\\x20a b"_s);
}

void tst_FileNames::displayName()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, text);
    QCOMPARE(qm::displayName(name), text);
}

void tst_FileNames::pattern_data()
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

void tst_FileNames::pattern()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, name);
    QFETCH(bool, expected);
    const PatternMatcher matcher(pattern);
    QCOMPARE(matcher.matches(QByteArrayView(name)), expected);
    QCOMPARE(matcher.matches(QStringView(qm::displayName(name))), expected);
}

QTEST_APPLESS_MAIN(tst_FileNames)
#include "tst_filenames.moc"
