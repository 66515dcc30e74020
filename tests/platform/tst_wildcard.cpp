#include "platform/wildcard.h"

#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Wildcard : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void bytesAgreeWithText_data();
    void bytesAgreeWithText();
};

void tst_Wildcard::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");

    QTest::newRow("star dot star, name without a dot") << u"*.*"_s << u"README"_s << true;
    QTest::newRow("star dot star, dot file") << u"*.*"_s << u".profile"_s << true;
    QTest::newRow("star alone") << u"*"_s << u"Makefile"_s << true;
    QTest::newRow("extension matches") << u"*.txt"_s << u"notes.txt"_s << true;
    QTest::newRow("extension ignores case") << u"*.txt"_s << u"NOTES.TXT"_s << true;
    QTest::newRow("pattern upper, name lower") << u"*.TXT"_s << u"notes.txt"_s << true;
    QTest::newRow("whole name: longer extension fails") << u"*.txt"_s << u"notes.txta"_s << false;
    QTest::newRow("whole name: prefix alone fails") << u"note"_s << u"notes"_s << false;
    QTest::newRow("partial pattern *.t misses .txt") << u"*.t"_s << u"notes.txt"_s << false;
    QTest::newRow("partial pattern *.t hits .t") << u"*.t"_s << u"a.t"_s << true;
    QTest::newRow("question mark is one character") << u"a?c"_s << u"abc"_s << true;
    QTest::newRow("question mark is not zero") << u"a?c"_s << u"ac"_s << false;
    QTest::newRow("question mark is not two") << u"a?c"_s << u"abbc"_s << false;
    QTest::newRow("question mark is one non-ASCII character") << u"?.txt"_s << u"é.txt"_s << true;
    QTest::newRow("question mark on a character outside the BMP")
        << u"?.txt"_s << u"😀.txt"_s << true;
    QTest::newRow("list: second entry matches") << u"*.exe;*.com;*.bat"_s << u"RUN.BAT"_s << true;
    QTest::newRow("list: none matches") << u"*.exe;*.com"_s << u"run.bat"_s << false;
    QTest::newRow("list with blanks around entries")
        << u"  *.doc ;  *.dot  "_s << u"a.dot"_s << true;
    QTest::newRow("list with an empty entry") << u"*.doc;;*.dot"_s << u"a.dot"_s << true;
    QTest::newRow("blank inside an entry is literal") << u"my file.*"_s << u"my file.txt"_s << true;
    QTest::newRow("brackets are literal") << u"[ab].txt"_s << u"[ab].txt"_s << true;
    QTest::newRow("brackets are not a class") << u"[ab].txt"_s << u"a.txt"_s << false;
    QTest::newRow("backslash is literal") << u"a\\b"_s << u"a\\b"_s << true;
    QTest::newRow("star in the middle backtracks") << u"a*b*c"_s << u"aXbYbZc"_s << true;
    QTest::newRow("star in the middle, no end") << u"a*b*c"_s << u"aXbYbZ"_s << false;
    QTest::newRow("wildcard prefix *.xl*") << u"*.xl*;*.wk*"_s << u"book.xlsx"_s << true;
    QTest::newRow("pc star in the middle") << u"*.tga;*.pc*;*.rle"_s << u"x.PCX"_s << true;
    QTest::newRow("non-ASCII ignores case") << u"ÉTÉ*"_s << u"été.txt"_s << true;
    QTest::newRow("non-ASCII pattern, ASCII name") << u"é*"_s << u"e.txt"_s << false;
    QTest::newRow("empty text matches everything") << QString() << u"anything"_s << true;
    QTest::newRow("only blanks and separators match everything") << u" ; ;  "_s << u"x"_s << true;
    QTest::newRow("star dot star inside a list") << u"*.doc;*.*"_s << u"README"_s << true;
    QTest::newRow("star dot star dot star is literal dots") << u"*.*.*"_s << u"a.b"_s << false;
    QTest::newRow("trailing dot pattern") << u"*."_s << u"README"_s << false;
}

void tst_Wildcard::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    const PatternMatcher matcher(pattern);
    QCOMPARE(matcher.matches(QStringView(name)), expected);
    QCOMPARE(matcher.matches(QByteArrayView(name.toUtf8())), expected);
}

void tst_Wildcard::bytesAgreeWithText_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("expected");

    QTest::newRow("invalid UTF-8 byte is one escaped run")
        << u"a*.txt"_s << QByteArray("a\xff.txt") << true;
    QTest::newRow("escape text can be matched") << u"a\\xff*"_s << QByteArray("a\xff.txt") << true;
    QTest::newRow("newline is matched in its escaped form")
        << u"a\\nb"_s << QByteArray("a\nb") << true;
    QTest::newRow("escaped newline is more than one character")
        << u"a?b"_s << QByteArray("a\nb") << false;
}

void tst_Wildcard::bytesAgreeWithText()
{
    QFETCH(QString, pattern);
    QFETCH(QByteArray, name);
    QFETCH(bool, expected);
    QCOMPARE(PatternMatcher(pattern).matches(QByteArrayView(name)), expected);
}

QTEST_APPLESS_MAIN(tst_Wildcard)
#include "tst_wildcard.moc"
