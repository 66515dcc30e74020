#include "app/commandline.h"

#include "batch/progressline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QUrl>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Options that QApplication takes out of the command line itself; they must not be refused
// before it has seen them.
void allowToolkitOptions(QCommandLineParser &parser)
{
    const QStringList withValue {
        u"platform"_s,        u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,
        u"qwindowgeometry"_s, u"qwindowicon"_s,        u"qwindowtitle"_s,  u"session"_s,
        u"display"_s,         u"geometry"_s,           u"style"_s,         u"stylesheet"_s,
        u"qmljsdebugger"_s
    };
    const QStringList flags { u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"sync"_s };
    for (const QString &name : withValue) {
        QCommandLineOption option(name, QString(), u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : flags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString folderFrom(const QString &argument, const QString &workingFolder)
{
    if (argument.isEmpty())
        return {};
    QString path = argument;
    if (argument.startsWith(u"file:", Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

struct PaperName
{
    QStringView name;
    QPageSize::PageSizeId id;
};
constexpr PaperName Papers[] = {
    { u"A4", QPageSize::A4 }, { u"Letter", QPageSize::Letter }, { u"Legal", QPageSize::Legal },
    { u"A5", QPageSize::A5 }, { u"A3", QPageSize::A3 },
};

struct FormatName
{
    QStringView name;
    SaveFormat format;
};
constexpr FormatName Formats[] = {
    { u"text", SaveFormat::Text },
    { u"lines", SaveFormat::Lines },
    { u"csv", SaveFormat::Csv },
    { u"json", SaveFormat::Json },
};

// The attribute switches that --attributes names, in the window's order.
struct AttributeName
{
    QStringView name;
    bool AttributeSwitches::*on;
};
constexpr AttributeName Attributes[] = {
    { u"normal", &AttributeSwitches::normal },   { u"hidden", &AttributeSwitches::hidden },
    { u"system", &AttributeSwitches::system },   { u"readonly", &AttributeSwitches::readOnly },
    { u"archive", &AttributeSwitches::archive },
};

template<typename Table> QString namesOf(const Table &table)
{
    QStringList names;
    for (const auto &entry : table)
        names << entry.name.toString();
    return names.join(u", "_s);
}

const QString HelpFooter = uR"(
Without an output option the window opens. --save, --print-pdf or --print make the
catalogue without a window and without a display; such a run neither uses nor changes the
remembered folder, and reads only the page setup (margins, column shares, font, colour)
when it prints.

CSV cells that start with =, +, -, @, a tab or a carriage return get a ' put before them,
so that a spreadsheet cannot run them as formulas. A file that vanishes while it is
written keeps its name, with empty size and time (null in JSON).

Exit status: 0 when everything was made; 1 when something failed (a folder that cannot be
read, an output that cannot be written, a printer that refused the job); 2 when the
command line is wrong.

Examples:
  quillmark --save ~/lists/photos-$(date +%F).csv --format csv ~/Photos
  quillmark --print-pdf archive.pdf --recursive --header "Archive 2026" /srv/archive
  quillmark --print --printer office --copies 2 --pattern "*.pdf" ~/Documents
  quillmark --save - --format json --recursive . | jq length
)"_s;

} // namespace

CommandLine readCommandLine(const QStringList &arguments, const QString &workingFolder,
                            const QString &helpPage)
{
    QCommandLineParser parser;
    // -platform and its kin are words after one dash, not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        u"Catalogues the files of one folder: their names, sizes and dates, to preview, "
        "print, save as text or copy."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        u"folder"_s, u"The folder to show first (instead of the one used last), or to catalogue."_s,
        u"[folder]"_s);
    const QCommandLineOption save(u"save"_s,
                                  u"Save the catalogue of the folder as FILE (- for standard "
                                  "output), without a window."_s,
                                  u"FILE"_s);
    const QCommandLineOption format(
        u"format"_s,
        u"With --save: text (the window's saved file, the default), lines (the clipboard's "
        "lines), csv or json."_s,
        u"FORMAT"_s);
    const QCommandLineOption separator(
        u"separator"_s,
        u"With --format csv: the character between cells (default: a comma; the word tab "
        "for a tab)."_s,
        u"CHAR"_s);
    const QCommandLineOption bom(u"bom"_s,
                                 u"With --format csv: start with a byte order mark, for "
                                 "spreadsheets that need one to see UTF-8."_s);
    const QCommandLineOption printPdf(u"print-pdf"_s,
                                      u"Print the catalogue to the PDF file FILE, without a "
                                      "window."_s,
                                      u"FILE"_s);
    const QCommandLineOption print(u"print"_s,
                                   u"Print the catalogue on a printer, without a window."_s);
    const QCommandLineOption printer(u"printer"_s,
                                     u"With --print: the printer (default: the system's "
                                     "default printer)."_s,
                                     u"NAME"_s);
    const QCommandLineOption copies(u"copies"_s, u"With --print: how many copies (default 1)."_s,
                                    u"N"_s);
    const QCommandLineOption paper(
        u"paper"_s,
        u"When printing: the paper, one of %1 (default: the "
        "locale's for a PDF, the printer's own on a printer)."_s.arg(namesOf(Papers)),
        u"NAME"_s);
    const QCommandLineOption header(u"header"_s,
                                    u"When printing: the header of every page (default: the "
                                    "folder)."_s,
                                    u"TEXT"_s);
    const QCommandLineOption pattern(
        u"pattern"_s,
        u"List only the files whose names match TEXT, as the pattern box does: wildcards * "
        "and ? separated by ; (default *.*, every file)."_s,
        u"TEXT"_s);
    const QCommandLineOption attributes(
        u"attributes"_s,
        u"List only files whose attributes are all in LIST, a comma-separated choice of %1 "
        "(default: all of them, as the window starts)."_s.arg(namesOf(Attributes)),
        u"LIST"_s);
    const QCommandLineOption recursive(u"recursive"_s,
                                       u"Catalogue every folder below the folder too, each file "
                                       "named by its path below it; links to folders are not "
                                       "followed."_s);
    const QCommandLineOption quiet(u"quiet"_s,
                                   u"No progress line and no summary on standard error."_s);
    for (const QCommandLineOption *option :
         { &save, &format, &separator, &bom, &printPdf, &print, &printer, &copies, &paper, &header,
           &pattern, &attributes, &recursive, &quiet })
        parser.addOption(*option);
    allowToolkitOptions(parser);

    CommandLine result;
    const bool understood = parser.parse(arguments);
    // Asking for help or the version answers even beside a mistake elsewhere.
    if (parser.isSet(help) || parser.isSet(u"help-all"_s)) {
        result.action = CommandLine::Action::Print;
        result.text = parser.helpText() + HelpFooter;
        result.text += helpPage.isEmpty()
            ? u"\nThe full help opens from Help, Help (F1) in the window.\n"_s
            : u"\nThe full help page: %1\n"_s.arg(QDir::toNativeSeparators(helpPage));
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::Print;
        result.text = u"%1 %2\n"_s.arg(QCoreApplication::applicationName(),
                                       QCoreApplication::applicationVersion());
        return result;
    }
    const auto fail = [&result](const QString &why) {
        result.action = CommandLine::Action::Fail;
        result.text = u"quillmark: %1 (see quillmark --help)\n"_s.arg(why);
        return result;
    };
    if (!understood)
        return fail(asClause(parser.errorText()));
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return fail(u"one folder at a time, not %1"_s.arg(folders.size()));
    if (!folders.isEmpty())
        result.folder = folderFrom(folders.first(), workingFolder);

    // Which output, if any: exactly one makes a run without the window.
    QStringList outputs;
    for (const QCommandLineOption *option : { &save, &printPdf, &print }) {
        if (parser.isSet(*option))
            outputs << u"--"_s + option->names().first();
    }
    if (outputs.size() > 1)
        return fail(u"one output at a time, not %1"_s.arg(outputs.join(u" and "_s)));
    // An option that belongs to an output the command line does not ask for.
    const auto needs = [&](const QCommandLineOption &option, bool given, const QString &what) {
        return parser.isSet(option) && !given
            ? u"--%1 goes with %2"_s.arg(option.names().first(), what)
            : QString();
    };
    const bool saving = parser.isSet(save),
               printing = parser.isSet(printPdf) || parser.isSet(print);
    const QString formatText = parser.value(format).toLower();
    const bool csv = formatText == u"csv";
    for (const QString &mistake :
         { needs(format, saving, u"--save"_s), needs(separator, csv, u"--format csv"_s),
           needs(bom, csv, u"--format csv"_s), needs(header, printing, u"--print-pdf or --print"_s),
           needs(paper, printing, u"--print-pdf or --print"_s),
           needs(printer, parser.isSet(print), u"--print"_s),
           needs(copies, parser.isSet(print), u"--print"_s) }) {
        if (!mistake.isEmpty())
            return fail(mistake);
    }
    if (outputs.isEmpty()) {
        for (const QCommandLineOption *option : { &pattern, &attributes, &recursive, &quiet }) {
            if (parser.isSet(*option))
                return fail(u"--%1 goes with an output: --save, --print-pdf or --print"_s.arg(
                    option->names().first()));
        }
        return result;
    }

    BatchOptions &batch = result.batch;
    result.action = CommandLine::Action::Batch;
    if (result.folder.isEmpty())
        return fail(u"name the folder to catalogue after the options"_s);
    batch.folder = result.folder;
    result.folder.clear();
    if (saving) {
        batch.output = BatchOptions::Output::Save;
        batch.file = parser.value(save);
    } else if (parser.isSet(printPdf)) {
        batch.output = BatchOptions::Output::PrintPdf;
        batch.file = parser.value(printPdf);
    } else {
        batch.output = BatchOptions::Output::Print;
    }
    if (batch.output != BatchOptions::Output::Print) {
        if (batch.file.isEmpty())
            return fail(u"%1 needs a file name"_s.arg(outputs.first()));
        if (batch.file != u"-" || batch.output != BatchOptions::Output::Save)
            batch.file = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(batch.file));
    }

    if (parser.isSet(format)) {
        const auto found = std::find_if(std::begin(Formats), std::end(Formats),
                                        [&](const FormatName &f) { return f.name == formatText; });
        if (found == std::end(Formats))
            return fail(
                u"unknown format '%1': choose %2"_s.arg(parser.value(format), namesOf(Formats)));
        batch.save.format = found->format;
    }
    if (parser.isSet(separator)) {
        QString cell = parser.value(separator);
        if (cell.compare(u"tab"_s, Qt::CaseInsensitive) == 0)
            cell = u"\t"_s;
        if (cell.size() != 1 || cell == u"\"" || cell == u"\r" || cell == u"\n")
            return fail(u"the separator must be one character other than a quote or a line "
                        "break, not '%1'"_s.arg(parser.value(separator)));
        batch.save.separator = cell.front();
    }
    batch.save.byteOrderMark = parser.isSet(bom);

    if (parser.isSet(header))
        batch.header = parser.value(header);
    if (parser.isSet(paper)) {
        const QString name = parser.value(paper);
        const auto found
            = std::find_if(std::begin(Papers), std::end(Papers), [&](const PaperName &p) {
                  return p.name.compare(name, Qt::CaseInsensitive) == 0;
              });
        if (found == std::end(Papers))
            return fail(u"unknown paper '%1': choose %2"_s.arg(name, namesOf(Papers)));
        batch.paper = found->id;
    }
    batch.printer = parser.value(printer);
    if (parser.isSet(printer) && batch.printer.isEmpty())
        return fail(u"--printer needs a printer's name"_s);
    if (parser.isSet(copies)) {
        bool whole = false;
        const int count = parser.value(copies).toInt(&whole);
        if (!whole || count < 1 || count > MaxCopies)
            return fail(
                u"--copies takes a whole number from 1 to %1, not '%2'"_s.arg(MaxCopies).arg(
                    parser.value(copies)));
        batch.copies = count;
    }

    if (parser.isSet(pattern))
        batch.pattern = parser.value(pattern);
    if (parser.isSet(attributes)) {
        AttributeSwitches switches { false, false, false, false, false };
        for (const QString &word : parser.value(attributes).split(u',', Qt::SkipEmptyParts)) {
            const QString name = word.trimmed().toLower();
            const auto found = std::find_if(std::begin(Attributes), std::end(Attributes),
                                            [&](const AttributeName &a) { return a.name == name; });
            if (found == std::end(Attributes))
                return fail(u"unknown attribute '%1': choose from %2"_s.arg(word.trimmed(),
                                                                            namesOf(Attributes)));
            switches.*(found->on) = true;
        }
        batch.switches = switches;
    }
    batch.recursive = parser.isSet(recursive);
    batch.quiet = parser.isSet(quiet);
    return result;
}

} // namespace qm
