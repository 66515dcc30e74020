#include "platform/filenames.h"

#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_FileNames : public QObject
{
    Q_OBJECT

private slots:
    void displayName_data();
    void displayName();
};

void tst_FileNames::displayName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain ASCII") << QByteArray("notes.txt") << u"notes.txt"_s;
    QTest::newRow("blank kept") << QByteArray("my notes.txt") << u"my notes.txt"_s;
    QTest::newRow("backslash stays single") << QByteArray("a\\b") << u"a\\b"_s;
    QTest::newRow("valid two-byte UTF-8") << QByteArray("caf\xc3\xa9") << u"café"_s;
    QTest::newRow("valid four-byte UTF-8") << QByteArray("\xf0\x9f\x98\x80") << u"😀"_s;
    QTest::newRow("lone invalid byte") << QByteArray("a\xff"
                                                     "b")
                                       << u"a\\xffb"_s;
    QTest::newRow("Latin-1 byte is not UTF-8") << QByteArray("caf\xe9") << u"caf\\xe9"_s;
    QTest::newRow("truncated sequence at the end") << QByteArray("a\xc3") << u"a\\xc3"_s;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << u"\\xc0\\xaf"_s;
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << u"\\xed\\xa0\\x80"_s;
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << u"\\xf4\\x90\\x80\\x80"_s;
    QTest::newRow("newline") << QByteArray("a\nb") << u"a\\nb"_s;
    QTest::newRow("tab") << QByteArray("a\tb") << u"a\\tb"_s;
    QTest::newRow("carriage return") << QByteArray("a\rb") << u"a\\x0db"_s;
    QTest::newRow("escape character") << QByteArray("\x1b[31m") << u"\\x1b[31m"_s;
    QTest::newRow("DEL") << QByteArray("a\x7f") << u"a\\x7f"_s;
    QTest::newRow("C1 next line") << QByteArray("a\xc2\x85"
                                                "b")
                                  << u"a\\u0085b"_s;
    QTest::newRow("right-to-left override") << QByteArray("a\xe2\x80\xae"
                                                          "b")
                                            << u"a\\u202eb"_s;
    QTest::newRow("first isolate") << QByteArray("\xe2\x81\xa8") << u"\\u2068"_s;
    QTest::newRow("left-to-right mark") << QByteArray("\xe2\x80\x8e") << u"\\u200e"_s;
    QTest::newRow("Arabic letter mark") << QByteArray("\xd8\x9c") << u"\\u061c"_s;
    QTest::newRow("line separator") << QByteArray("\xe2\x80\xa8") << u"\\u2028"_s;
    QTest::newRow("paragraph separator") << QByteArray("\xe2\x80\xa9") << u"\\u2029"_s;
    QTest::newRow("ordinary non-ASCII stays") << QByteArray("\xe2\x80\x94") << u"—"_s;
    QTest::newRow("empty") << QByteArray() << QString();
}

void tst_FileNames::displayName()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, text);
    QCOMPARE(qm::displayName(name), text);
}

QTEST_APPLESS_MAIN(tst_FileNames)
#include "tst_filenames.moc"
