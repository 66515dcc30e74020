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
    row("backslash stays single", "a\\b", u"a\\b"_s);
    row("lone invalid byte", "a\xff", u"a\\xff"_s);
    row("truncated sequence at the end", "a\xc3", u"a\\xc3"_s);
    row("overlong slash", "\xc0\xaf", u"\\xc0\\xaf"_s);
    row("encoded surrogate", "\xed\xa0\x80", u"\\xed\\xa0\\x80"_s);
    row("beyond U+10FFFF", "\xf4\x90\x80\x80", u"\\xf4\\x90\\x80\\x80"_s);
    row("newline and tab", "a\nb\t", u"a\\nb\\t"_s);
    // Long names are checked eight bytes at a time: each kind of byte inside the first word.
    row("DEL among the first eight bytes", "abc\177defghijk", u"abc\\x7fdefghijk"_s);
    row("control among the first eight bytes", "abcdefg\001hij", u"abcdefg\\x01hij"_s);
    row("invalid byte among the first eight bytes", "ab\377cdefghijk", u"ab\\xffcdefghijk"_s);
    row("DEL in the second word", "abcdefgh\177ijklmnop", u"abcdefgh\\x7fijklmnop"_s);
    row("C1 next line", "a\xc2\x85", u"a\\u0085"_s);
    row("right-to-left override", "\xe2\x80\xae", u"\\u202e"_s);
    // Names that would look blank or like another name.
    row("zero-width space alone", "\xe2\x80\x8b", u"\\u200b"_s);
    row("byte order mark before a name", "\357\273\277a.txt", u"\\ufeffa.txt"_s);
    row("soft hyphen, lowest invisible", "a\xc2\xad", u"a\\u00ad"_s);
    row("word joiner range end U+206F", "\xe2\x81\xaf", u"\\u206f"_s);
    row("superscript zero U+2070 stays", "\xe2\x81\xb0", u"\u2070"_s);
    row("Hangul filler", "\xe3\x85\xa4", u"\\u3164"_s);
    row("variation selector", "x\xef\xb8\x8f", u"x\\ufe0f"_s);
    row("language tag beyond U+FFFF", "\xf3\xa0\x80\x81", u"\\U000e0001"_s);
    row("noncharacter U+FFFE", "\xef\xbf\xbe", u"\\ufffe"_s);
    row("noncharacter U+FDD0", "\xef\xb7\x90", u"\\ufdd0"_s);
    row("noncharacter at a plane's end", "\xf0\x9f\xbf\xbf", u"\\U0001ffff"_s);
    row("replacement character stays", "\xef\xbf\xbd", u"\ufffd"_s);
    row("trailing blank", "a.txt ", u"a.txt\\x20"_s);
    row("leading blank, inner blank stays", " a b", u"\\x20a b"_s);
    row("no-break space alone", "\xc2\xa0", u"\\u00a0"_s);
    row("inner no-break space stays", "a\302\240b", u"a\u00a0b"_s);
    row("combining accent stays", "e\xcc\x81", u"e\u0301"_s);
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
    QTest::newRow("non-ASCII case ignored") << u"ÉTÉ*"_s << QByteArray("été.txt") << true;
    QTest::newRow("whole name: longer extension") << u"*.txt"_s << QByteArray("a.txta") << false;
    QTest::newRow("partial pattern *.t misses .txt") << u"*.t"_s << QByteArray("a.txt") << false;
    QTest::newRow("? outside the BMP") << u"?.txt"_s << QByteArray("😀.txt") << true;
    QTest::newRow("list with blanks") << u"  *.doc ;  *.dot  "_s << QByteArray("a.dot") << true;
    QTest::newRow("brackets are literal") << u"[ab].txt"_s << QByteArray("[ab].txt") << true;
    QTest::newRow("star backtracks") << u"a*b*c"_s << QByteArray("aXbYbZc") << true;
    QTest::newRow("empty text") << QString() << QByteArray("anything") << true;
    QTest::newRow("invalid byte") << u"a*.txt"_s << QByteArray("a\xff.txt") << true;
    QTest::newRow("invalid byte, escaped") << u"a\\xff*"_s << QByteArray("a\xff.txt") << true;
    QTest::newRow("escaped newline is not one character")
        << u"a?b"_s << QByteArray("a\nb") << false;
    QTest::newRow("trailing blank is matched escaped") << u"a?"_s << QByteArray("a ") << false;
    QTest::newRow("trailing blank, its escape") << u"a\\x20"_s << QByteArray("a ") << true;
    QTest::newRow("inner blank is one character") << u"a?b"_s << QByteArray("a b") << true;
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
