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
    void batchOptions_data();
    void batchOptions();
    void usageMistakes_data();
    void usageMistakes();
};

namespace {

QStringList argumentsOf(const QString &text)
{
    QStringList list { u"quillmark"_s };
    if (!text.isEmpty())
        list += text.split(u'|');
    return list;
}

// The options as one line, every field that differs from the window's start named.
QString described(const BatchOptions &o)
{
    static const char *outputs[] = { "save", "print-pdf", "print" };
    static const char *formats[] = { "text", "lines", "csv", "json" };
    QString text = QLatin1String(outputs[int(o.output)]);
    if (!o.file.isEmpty())
        text += u' ' + o.file;
    text += u" of "_s + o.folder;
    if (o.output == BatchOptions::Output::Save)
        text += u" as "_s + QLatin1String(formats[int(o.save.format)]);
    if (o.save.separator != u',')
        text += u" sep="_s + (o.save.separator == u'\t' ? u"tab"_s : QString(o.save.separator));
    if (o.save.byteOrderMark)
        text += u" bom"_s;
    if (o.pattern != u"*.*")
        text += u" pattern="_s + o.pattern;
    const AttributeSwitches &a = o.switches;
    if (!(a.normal && a.hidden && a.system && a.readOnly && a.archive))
        text += u" attributes=%1%2%3%4%5"_s.arg(a.normal ? u"n" : u"-", a.hidden ? u"h" : u"-",
                                                a.system ? u"s" : u"-", a.readOnly ? u"r" : u"-",
                                                a.archive ? u"a" : u"-");
    if (o.recursive)
        text += u" recursive"_s;
    if (o.quiet)
        text += u" quiet"_s;
    if (o.header)
        text += u" header=\"%1\""_s.arg(*o.header);
    if (o.paper)
        text += u" paper="_s + QPageSize(*o.paper).key();
    if (!o.printer.isEmpty())
        text += u" printer="_s + o.printer;
    if (o.copies != 1)
        text += u" copies="_s + QString::number(o.copies);
    return text;
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
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("textHas");
    const int run = int(CommandLine::Action::Run), print = int(CommandLine::Action::Print);
    const int fail = int(CommandLine::Action::Fail);
    QTest::newRow("nothing: the stored folder") << QString() << run << QString() << QString();
    QTest::newRow("relative folder, dot-dot folded")
        << u"../bob/./docs/"_s << run << u"/home/bob/docs"_s << QString();
    QTest::newRow("toolkit option's value is not the folder")
        << u"-platform|offscreen|docs"_s << run << u"/home/ann/docs"_s << QString();
    QTest::newRow("--version") << u"--version"_s << print << QString() << u"Quillmark 1.0.0\n"_s;
    QTest::newRow("--help wins over a mistake beside it")
        << u"--bogus|--help"_s << print << QString() << u"[folder]"_s;
    QTest::newRow("two folders refused")
        << u"/a|/b"_s << fail << QString() << u"one folder at a time"_s;
}

void tst_CommandLine::readCommandLine()
{
    QFETCH(QString, arguments);
    QFETCH(QString, textHas);
    QStringList list { u"quillmark"_s };
    if (!arguments.isEmpty())
        list += arguments.split(u'|');
    const CommandLine command = qm::readCommandLine(list, u"/home/ann"_s);
    QTEST(int(command.action), "action");
    QTEST(command.folder, "folder");
    if (textHas.isEmpty())
        QVERIFY2(command.text.isEmpty(), qPrintable(command.text));
    else
        QVERIFY2(command.text.contains(textHas) && command.text.endsWith(u'\n'),
                 qPrintable(command.text));
}

void tst_CommandLine::batchOptions_data()
{
    QTest::addColumn<QString>("arguments"); // split at '|'
    QTest::addColumn<QString>("options");
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
    QTest::newRow("the default printer") << u"--print|/x"_s << u"print of /x"_s;
}

void tst_CommandLine::batchOptions()
{
    QFETCH(QString, arguments);
    const CommandLine command = qm::readCommandLine(argumentsOf(arguments), u"/home/ann"_s);
    QVERIFY2(command.action == CommandLine::Action::Batch, qPrintable(command.text));
    QTEST(described(command.batch), "options");
    QVERIFY(command.folder.isEmpty()); // the window's folder is not touched
}

void tst_CommandLine::usageMistakes_data()
{
    QTest::addColumn<QString>("arguments"); // split at '|'
    QTest::addColumn<QString>("message");
    // Unknown options, formats, papers and attributes and two outputs at once: the real
    // program's failure table (tests/batch) checks them with their exit status.
    QTest::newRow("an output without its folder")
        << u"--save|a"_s
        << u"quillmark: name the folder to catalogue after the options (see quillmark --help)\n"_s;
    QTest::newRow("an output with two folders")
        << u"--save|a|/x|/y"_s
        << u"quillmark: one folder at a time, not 2 (see quillmark --help)\n"_s;
    QTest::newRow("a format without --save")
        << u"--print-pdf|a|--format|csv|/x"_s
        << u"quillmark: --format goes with --save (see quillmark --help)\n"_s;
    QTest::newRow("a separator without csv")
        << u"--save|a|--separator|;|/x"_s
        << u"quillmark: --separator goes with --format csv (see quillmark --help)\n"_s;
    QTest::newRow("a byte order mark without csv")
        << u"--save|a|--format|json|--bom|/x"_s
        << u"quillmark: --bom goes with --format csv (see quillmark --help)\n"_s;
    QTest::newRow("a separator of two characters")
        << u"--save|a|--format|csv|--separator|;;|/x"_s
        << u"quillmark: the separator must be one character other than a quote or a line break, "
           "not ';;' (see quillmark --help)\n"_s;
    QTest::newRow("a quote as separator")
        << u"--save|a|--format|csv|--separator|\"|/x"_s
        << u"quillmark: the separator must be one character other than a quote or a line break, "
           "not '\"' (see quillmark --help)\n"_s;
    QTest::newRow("a header without printing")
        << u"--save|a|--header|H|/x"_s
        << u"quillmark: --header goes with --print-pdf or --print (see quillmark --help)\n"_s;
    QTest::newRow("a printer for a PDF")
        << u"--print-pdf|a|--printer|office|/x"_s
        << u"quillmark: --printer goes with --print (see quillmark --help)\n"_s;
    QTest::newRow("copies beyond the most")
        << u"--print|--copies|1000|/x"_s
        << u"quillmark: --copies takes a whole number from 1 to 999, not '1000' (see quillmark "
           "--help)\n"_s;
    QTest::newRow("a filter without an output")
        << u"--recursive|/x"_s
        << u"quillmark: --recursive goes with an output: --save, --print-pdf or --print (see "
           "quillmark --help)\n"_s;
    QTest::newRow("an output without its file")
        << u"--save=|/x"_s << u"quillmark: --save needs a file name (see quillmark --help)\n"_s;
}

void tst_CommandLine::usageMistakes()
{
    QFETCH(QString, arguments);
    const CommandLine command = qm::readCommandLine(argumentsOf(arguments), u"/home/ann"_s);
    QCOMPARE(int(command.action), int(CommandLine::Action::Fail));
    QTEST(command.text, "message");
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
