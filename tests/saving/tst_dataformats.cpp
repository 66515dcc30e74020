#include "saving/dataformats.h"
#include "saving/textoutputs.h"
#include "support/writerfakes.h"

#include <QBuffer>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

// A list whose names hold the exact bytes given, not only text.
class ByteSource : public FakeSource
{
public:
    std::vector<QByteArray> raw;

    void addRaw(const QByteArray &name, const QString &shown, qint64 size)
    {
        raw.push_back(name);
        add(shown, size, Afternoon);
    }
    QByteArray name(qint64 i) const override { return raw.at(size_t(i)); }
};

QByteArray written(const CatalogueSource &source, const SaveOptions &options)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    RecordingHost host;
    const SaveResult result = writeCatalogue(buffer, source, host, {}, options);
    return result.ok ? buffer.data() : QByteArray("<failed: ") + result.error.toUtf8() + '>';
}

} // namespace

class tst_DataFormats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
        QLocale::setDefault(QLocale::c());
    }
    void csvCells_data();
    void csvCells();
    void jsonStrings_data();
    void jsonStrings();
    void files_data();
    void files();
};

void tst_DataFormats::csvCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("cell");
    const QString comma = u","_s, semicolon = u";"_s;
    QTest::newRow("empty stays empty") << QString() << comma << QString();
    QTest::newRow("separator: quoted") << u"x,y"_s << comma << u"\"x,y\""_s;
    QTest::newRow("comma under a semicolon separator: bare") << u"x,y"_s << semicolon << u"x,y"_s;
    QTest::newRow("semicolon under its own separator: quoted")
        << u"x;y"_s << semicolon << u"\"x;y\""_s;
    QTest::newRow("quote doubled inside quotes")
        << u"say \"hi\""_s << comma << u"\"say \"\"hi\"\"\""_s;
    QTest::newRow("line feed: quoted") << u"a\nb"_s << comma << u"\"a\nb\""_s;
    QTest::newRow("= would run as a formula") << u"=1+1"_s << comma << u"'=1+1"_s;
    QTest::newRow("+ leading") << u"+49 123"_s << comma << u"'+49 123"_s;
    QTest::newRow("- leading") << u"-x"_s << comma << u"'-x"_s;
    QTest::newRow("@ leading") << u"@sum"_s << comma << u"'@sum"_s;
    QTest::newRow("tab leading") << u"\tx"_s << comma << u"'\tx"_s;
    QTest::newRow("CR leading: guarded and quoted") << u"\rx"_s << comma << u"\"'\rx\""_s;
    QTest::newRow("formula with a separator: guard inside the quotes")
        << u"=a,b"_s << comma << u"\"'=a,b\""_s;
    QTest::newRow("= inside is harmless") << u"a=b"_s << comma << u"a=b"_s;
}

void tst_DataFormats::csvCells()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QString cell;
    appendCsvCell(cell, text, separator.front());
    QTEST(cell, "cell");
}

void tst_DataFormats::jsonStrings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("json");
    QTest::newRow("quote and backslash") << u"a\"b\\c"_s << u"\"a\\\"b\\\\c\""_s;
    QTest::newRow("line feed, CR and tab by name") << u"\n\r\t"_s << u"\"\\n\\r\\t\""_s;
    QTest::newRow("other control characters as \\u") << u"\x01\x1f"_s << u"\"\\u0001\\u001f\""_s;
    QTest::newRow("line separators of JavaScript")
        << QString(QChar(0x2028)) + QChar(0x2029) << u"\"\\u2028\\u2029\""_s;
    QTest::newRow("letters beyond ASCII stay") << u"Müller 日本"_s << u"\"Müller 日本\""_s;
    QTest::newRow("DEL is no control character to JSON") << u"\x7f"_s << u"\"\x7f\""_s;
}

void tst_DataFormats::jsonStrings()
{
    QFETCH(QString, text);
    QString json;
    appendJsonString(json, text);
    QTEST(json, "json");
}

void tst_DataFormats::files_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("empty"); // of an empty list
    const int text = int(SaveFormat::Text), csv = int(SaveFormat::Csv);
    const QByteArray when = "2026-12-06T13:04:05+00:00";
    // The text forms carry the escaped names, so a name cannot break a line.
    QTest::newRow("text: the folder first, escaped names, vanished file without size or date")
        << text << u","_s << false
        << QByteArray("Catalog of folder /data\r\na,b, 3, 6 Dec 2026,  13:04:05\r\nbad\\xff, 7, "
                      "6 Dec 2026,  13:04:05\r\nnew\\nline, 0, 6 Dec 2026,  13:04:05\r\n"
                      "gone, ,   /  /  ,  00:00:00\r\n")
        << QByteArray("Catalog of folder /data\r\n");
    QTest::newRow("csv: header row, CR LF, exact and escaped names, vanished file empty")
        << csv << u","_s << false
        << "Name,Size,Modified\r\n\"a,b\",3," + when + "\r\nbad\\xff,7," + when
            + "\r\n\"new\nline\",0," + when + "\r\ngone,,\r\n"
        << QByteArray("Name,Size,Modified\r\n");
    QTest::newRow("csv for a decimal comma, with a byte order mark")
        << csv << u";"_s << true
        << "\xef\xbb\xbfName;Size;Modified\r\na,b;3;" + when + "\r\nbad\\xff;7;" + when
            + "\r\n\"new\nline\";0;" + when + "\r\ngone;;\r\n"
        << QByteArray("\xef\xbb\xbfName;Size;Modified\r\n");
    QTest::newRow("json: raw bytes in base64 beside the escaped text, vanished file null")
        << int(SaveFormat::Json) << u","_s << false
        << "[\n{\"name\":\"a,b\",\"size\":3,\"modified\":\"" + when
            + "\"},\n{\"name\":\"bad\\\\xff\",\"bytes\":\"YmFk/w==\",\"size\":7,\"modified\":\""
            + when + "\"},\n{\"name\":\"new\\nline\",\"size\":0,\"modified\":\"" + when
            + "\"},\n{\"name\":\"gone\",\"size\":null,\"modified\":null}\n]\n"
        << QByteArray("[\n]\n");
}

void tst_DataFormats::files()
{
    QFETCH(int, format);
    QFETCH(QString, separator);
    QFETCH(bool, bom);
    ByteSource source;
    source.addRaw("a,b", u"a,b"_s, 3);
    source.addRaw("bad\xff", u"bad\\xff"_s, 7);
    // CSV and JSON carry a valid name as it is; the text forms show "new\nline".
    source.addRaw("new\nline", u"new\\nline"_s, 0);
    source.raw.push_back("gone");
    source.addVanished(u"gone"_s);
    SaveOptions options;
    options.format = SaveFormat(format);
    options.separator = separator.front();
    options.byteOrderMark = bom;
    QTEST(written(source, options), "bytes");
    QTEST(written(FakeSource(), options), "empty"); // still a complete file
}

QTEST_GUILESS_MAIN(tst_DataFormats)
#include "tst_dataformats.moc"
