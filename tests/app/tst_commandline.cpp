#include "app/commandline.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readCommandLine_data();
    void readCommandLine();
};

namespace {

// What the command line asks for as one line; of a run without the window, every field that
// differs from the window's start.
QString described(const CommandLine &command)
{
    switch (command.action) {
    case CommandLine::Action::Run:
        return u"window "_s + command.folder;
    case CommandLine::Action::Print: // the last line: the version, or the help's
        return u"print: "_s + command.text.trimmed().section(u'\n', -1);
    case CommandLine::Action::Fail:
        return command.text.chopped(1);
    case CommandLine::Action::Batch:
        break;
    }
    const BatchOptions &o = command.batch;
    static const char *outputs[] = { "save", "print-pdf", "print" };
    static const char *formats[] = { "text", "lines", "csv", "json" };
    const AttributeSwitches &a = o.switches;
    QStringList text { QLatin1String(outputs[int(o.output)]) };
    const auto add = [&text](bool differs, const QString &field) {
        if (differs)
            text << field;
    };
    add(!o.file.isEmpty(), o.file);
    text << u"of "_s + o.folder;
    add(o.output == BatchOptions::Output::Save,
        u"as "_s + QLatin1String(formats[int(o.save.format)]));
    add(o.save.separator != u',',
        u"sep="_s + (o.save.separator == u'\t' ? u"tab"_s : QString(o.save.separator)));
    add(o.save.byteOrderMark, u"bom"_s);
    add(o.pattern != u"*.*", u"pattern="_s + o.pattern);
    add(!(a.normal && a.hidden && a.system && a.readOnly && a.archive),
        u"attributes=%1%2%3%4%5"_s.arg(a.normal ? u"n" : u"-", a.hidden ? u"h" : u"-",
                                       a.system ? u"s" : u"-", a.readOnly ? u"r" : u"-",
                                       a.archive ? u"a" : u"-"));
    add(o.recursive, u"recursive"_s);
    add(o.quiet, u"quiet"_s);
    add(o.header.has_value(), u"header=\"%1\""_s.arg(o.header.value_or(QString())));
    add(o.paper.has_value(), u"paper="_s + (o.paper ? QPageSize(*o.paper).key() : QString()));
    add(!o.printer.isEmpty(), u"printer="_s + o.printer);
    add(o.copies != 1, u"copies="_s + QString::number(o.copies));
    return text.join(u' ');
}

} // namespace

void tst_CommandLine::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    QCoreApplication::setApplicationName(u"Quillmark"_s);
    QCoreApplication::setApplicationVersion(u"1.0.0"_s);
}

void tst_CommandLine::readCommandLine_data()
{
    QTest::addColumn<QString>("arguments"); // split at '|'
    QTest::addColumn<QString>("asked"); // "%1 (see...)": a usage mistake
    QTest::newRow("nothing: the stored folder") << QString() << u"window "_s;
    QTest::newRow("relative folder, dot-dot folded")
        << u"../bob/./docs/"_s << u"window /home/bob/docs"_s;
    QTest::newRow("toolkit option's value is not the folder")
        << u"-platform|offscreen|docs"_s << u"window /home/ann/docs"_s;
    QTest::newRow("--version") << u"--version"_s << u"print: Quillmark 1.0.0"_s;
    QTest::newRow("--help wins over a mistake beside it")
        << u"--bogus|--help"_s
        << u"print: The full help opens from Help, Help (F1) in the window."_s;

    QTest::newRow("save: text by default, paths from the working folder")
        << u"--save|out.txt|docs"_s << u"save /home/ann/out.txt of /home/ann/docs as text"_s;
    QTest::newRow("save to standard output keeps its dash")
        << u"--save|-|--format|lines|/x"_s << u"save - of /x as lines"_s;
    QTest::newRow("format names ignore case")
        << u"--save|a|--format|JSON|/x"_s << u"save /home/ann/a of /x as json"_s;
    QTest::newRow("csv for a decimal comma, with a mark")
        << u"--save=l.csv|--format=csv|--separator=;|--bom|/x"_s
        << u"save /home/ann/l.csv of /x as csv sep=; bom"_s;
    QTest::newRow("separator named tab") << u"--save|l|--format|csv|--separator|tab|/x"_s
                                         << u"save /home/ann/l of /x as csv sep=tab"_s;
    QTest::newRow("filters: pattern, some attributes, the whole tree, quietly")
        << u"--save|l|--pattern|*.jpg; *.png|--attributes|Hidden, readonly|--recursive|--quiet|/x"_s
        << u"save /home/ann/l of /x as text pattern=*.jpg; *.png attributes=-h-r- recursive quiet"_s;
    QTest::newRow("no attribute at all lists nothing, as five cleared boxes")
        << u"--save|l|--attributes=|/x"_s << u"save /home/ann/l of /x as text attributes=-----"_s;
    QTest::newRow("PDF with paper and header")
        << u"--print-pdf|p.pdf|--paper|letter|--header|Archive 2026|/x"_s
        << u"print-pdf /home/ann/p.pdf of /x header=\"Archive 2026\" paper=Letter"_s;
    QTest::newRow("an empty header is kept: it prints the folder")
        << u"--print-pdf|p.pdf|--header=|/x"_s << u"print-pdf /home/ann/p.pdf of /x header=\"\""_s;
    QTest::newRow("printer, copies and paper")
        << u"--print|--printer|office|--copies|3|--paper|A3|/x"_s
        << u"print of /x paper=A3 printer=office copies=3"_s;

    // Unknown options, formats, papers and attributes and two outputs at once: the real
    // program's failure table (tests/batch) checks them with their exit status.
    QTest::newRow("two folders") << u"/a|/b"_s << u"one folder at a time, not 2"_s;
    QTest::newRow("an output without its folder")
        << u"--save|a"_s << u"name the folder to catalogue after the options"_s;
    QTest::newRow("an output without its file") << u"--save=|/x"_s << u"--save needs a file name"_s;
    QTest::newRow("a format without --save")
        << u"--print-pdf|a|--format|csv|/x"_s << u"--format goes with --save"_s;
    QTest::newRow("a byte order mark with another format than csv")
        << u"--save|a|--format|json|--bom|/x"_s << u"--bom goes with --format csv"_s;
    QTest::newRow("a printer for a PDF")
        << u"--print-pdf|a|--printer|office|/x"_s << u"--printer goes with --print"_s;
    QTest::newRow("a filter without an output")
        << u"--recursive|/x"_s
        << u"--recursive goes with an output: --save, --print-pdf or --print"_s;
    const QString separator
        = u"the separator must be one character other than a quote or a line break, not '%1'"_s;
    QTest::newRow("a separator of two characters")
        << u"--save|a|--format|csv|--separator|;;|/x"_s << separator.arg(u";;");
    QTest::newRow("a quote as separator")
        << u"--save|a|--format|csv|--separator|\"|/x"_s << separator.arg(u"\"");
    QTest::newRow("copies beyond the most")
        << u"--print|--copies|1000|/x"_s
        << u"--copies takes a whole number from 1 to 999, not '1000'"_s;
}

void tst_CommandLine::readCommandLine()
{
    QFETCH(QString, arguments);
    QFETCH(QString, asked);
    QStringList list { u"quillmark"_s };
    if (!arguments.isEmpty())
        list += arguments.split(u'|');
    const CommandLine command = qm::readCommandLine(list, u"/home/ann"_s);
    if (command.action == CommandLine::Action::Fail)
        asked = u"quillmark: %1 (see quillmark --help)"_s.arg(asked);
    QCOMPARE(described(command), asked);
    // A run without the window leaves the window's folder alone.
    QVERIFY(command.action != CommandLine::Action::Batch || command.folder.isEmpty());
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
