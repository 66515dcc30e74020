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
    QTest::newRow("backslash stays single") << QByteArray("a\\b") << u"a\\b"_s;
    QTest::newRow("lone invalid byte") << QByteArray("a\xff") << u"a\\xff"_s;
    QTest::newRow("truncated sequence at the end") << QByteArray("a\xc3") << u"a\\xc3"_s;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << u"\\xc0\\xaf"_s;
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << u"\\xed\\xa0\\x80"_s;
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << u"\\xf4\\x90\\x80\\x80"_s;
    QTest::newRow("newline and tab") << QByteArray("a\nb\t") << u"a\\nb\\t"_s;
    QTest::newRow("escape and DEL") << QByteArray("\x1b\x7f") << u"\\x1b\\x7f"_s;
    // Long names are checked eight bytes at a time: each kind of byte inside the first word.
    QTest::newRow("DEL among the first eight bytes") << QByteArray("abc\x7f"
                                                                   "defghijk")
                                                     << u"abc\\x7fdefghijk"_s;
    QTest::newRow("control among the first eight bytes") << QByteArray("abcdefg\x01"
                                                                       "hij")
                                                         << u"abcdefg\\x01hij"_s;
    QTest::newRow("invalid byte among the first eight bytes") << QByteArray("ab\xff"
                                                                            "cdefghijk")
                                                              << u"ab\\xffcdefghijk"_s;
    QTest::newRow("DEL in the second word") << QByteArray("abcdefgh\x7f"
                                                          "ijklmnop")
                                            << u"abcdefgh\\x7fijklmnop"_s;
    QTest::newRow("C1 next line") << QByteArray("a\xc2\x85") << u"a\\u0085"_s;
    QTest::newRow("right-to-left override") << QByteArray("\xe2\x80\xae") << u"\\u202e"_s;
    QTest::newRow("line separator") << QByteArray("\xe2\x80\xa8") << u"\\u2028"_s;
    // Names that would look blank or like another name.
    QTest::newRow("zero-width space alone") << QByteArray("\xe2\x80\x8b") << u"\\u200b"_s;
    QTest::newRow("byte order mark before a name") << QByteArray("\xef\xbb\xbf"
                                                                 "a.txt")
                                                   << u"\\ufeffa.txt"_s;
    QTest::newRow("soft hyphen, lowest invisible") << QByteArray("a\xc2\xad") << u"a\\u00ad"_s;
    QTest::newRow("word joiner range end U+206F") << QByteArray("\xe2\x81\xaf") << u"\\u206f"_s;
    QTest::newRow("superscript zero U+2070 stays") << QByteArray("\xe2\x81\xb0") << u"\u2070"_s;
    QTest::newRow("Hangul filler") << QByteArray("\xe3\x85\xa4") << u"\\u3164"_s;
    QTest::newRow("variation selector") << QByteArray("x\xef\xb8\x8f") << u"x\\ufe0f"_s;
    QTest::newRow("language tag beyond U+FFFF")
        << QByteArray("\xf3\xa0\x80\x81") << u"\\U000e0001"_s;
    QTest::newRow("noncharacter U+FFFE") << QByteArray("\xef\xbf\xbe") << u"\\ufffe"_s;
    QTest::newRow("noncharacter U+FFFF") << QByteArray("a\xef\xbf\xbf") << u"a\\uffff"_s;
    QTest::newRow("noncharacter U+FDD0") << QByteArray("\xef\xb7\x90") << u"\\ufdd0"_s;
    QTest::newRow("noncharacter at a plane's end")
        << QByteArray("\xf0\x9f\xbf\xbf") << u"\\U0001ffff"_s;
    QTest::newRow("replacement character stays") << QByteArray("\xef\xbf\xbd") << u"\ufffd"_s;
    QTest::newRow("only blanks") << QByteArray("   ") << u"\\x20\\x20\\x20"_s;
    QTest::newRow("trailing blank") << QByteArray("a.txt ") << u"a.txt\\x20"_s;
    QTest::newRow("leading blank, inner blank stays") << QByteArray(" a b") << u"\\x20a b"_s;
    QTest::newRow("no-break space alone") << QByteArray("\xc2\xa0") << u"\\u00a0"_s;
    QTest::newRow("inner no-break space stays") << QByteArray("a\xc2\xa0"
                                                              "b")
                                                << u"a\u00a0b"_s;
    QTest::newRow("trailing blank after a letter beyond ASCII")
        << QByteArray("\xc3\xa9 ") << u"\u00e9\\x20"_s;
    QTest::newRow("combining accent stays") << QByteArray("e\xcc\x81") << u"e\u0301"_s;
    QTest::newRow("letters of other scripts stay")
        << QByteArray("\xe6\x97\xa5\xe6\x9c\xac.txt") << u"\u65e5\u672c.txt"_s;
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
