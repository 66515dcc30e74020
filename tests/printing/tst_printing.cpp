#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "platform/numbers.h"
#include "printing/pdfcheck.h"
#include "printing/printcommand.h"
#include "printing/printertarget.h"
#include "printing/printrun.h"
#include "support/pdfreading.h"
#include "support/refusingprinter.h"
#include "support/scratchfolder.h"
#include "support/scriptedquestions.h"
#include "support/testtarget.h"
#include "support/writerfakes.h"

#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

/// A print run on the recording target: every character 100 twips wide, a line height of
/// 220, paper of the given size with the default margins (1134 at top and bottom).
struct PaperRun
{
    CatalogueState state;
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;

    explicit PaperRun(int pageWidth = 11906, int pageHeight = 16838)
    {
        state.pageWidth = pageWidth;
        state.pageHeight = pageHeight;
        target.setWidth(pageWidth);
        target.setHeight(pageHeight);
    }

    void print(const CatalogueSource &source)
    {
        PrintRun run(state, nullptr);
        CatalogueWriter(state, source, viewport, host).writePages(target, run);
    }
    PrintResult print(const CatalogueSource &source, QPrinter &printer)
    {
        return printCatalogue(state, source, viewport, host, printer, nullptr);
    }

    QStringList heads() const { return target.calls(u"text ").filter(u",-440 "_s); }
};

} // namespace

class tst_Printing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageHead_data();
    void pageHead();
    void longHeaderCostsLittleMore();
    void headerOffered_data();
    void headerOffered();
    void pagesAgreeWithTheCount_data();
    void pagesAgreeWithTheCount();
    void printFailureSaysWhy_data();
    void printFailureSaysWhy();
    void printedPlace_data();
    void printedPlace();
    void incompletePdf_data();
    void incompletePdf();
    void jobTitle_data();
    void jobTitle();
};

void tst_Printing::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_Printing::pageHead_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("printableWidth"); // centred on the paper
    QTest::addColumn<int>("rightMargin");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("printed"); // x and text
    QTest::addColumn<int>("pageX");
    // Relative to the left margin (2268): "Page  1 of  1" is 1300 wide and ends at 7830 wherever
    // the paper can print it there, so a header ends a column gap (98) before 6530, at 6432.
    const QString long55(55, u'x'), long70 = u"/abcdefghijklmnopqrstuvwxyz"_s.repeated(3).left(70);
    QTest::newRow("A4: header centred on the paper")
        << 11906 << 11906 << 2268 << u"/data/"_s << u"3385 /data/"_s << 6530;
    QTest::newRow("A4 with a printer's border: as without")
        << 11906 << 11506 << 2268 << u"/data/"_s << u"3385 /data/"_s << 6530;
    QTest::newRow("Letter: wider paper moves the header, not the page text")
        << 12240 << 11840 << 2268 << u"/data/"_s << u"3552 /data/"_s << 6530;
    QTest::newRow("header reaching the page text keeps a gap before it")
        << 11906 << 11906 << 2268 << long55 << u"932 "_s + long55 << 6530;
    QTest::newRow("header too long for the room loses its start")
        << 11906 << 11906 << 2268 << long70 << u"32 ..."_s + long70.right(61) << 6530;
    // 7830 lies beyond A5's printable right edge (5923): the page text ends at the margin.
    QTest::newRow("A5: page text ends at the right margin")
        << 8391 << 7991 << 2268 << u"/data/"_s << u"1627.5 /data/"_s << 2555;
    QTest::newRow("A5, right margin in the unprintable border: at the printable edge")
        << 8391 << 7991 << 100 << u"/data/"_s << u"1627.5 /data/"_s << 4623;
}

void tst_Printing::pageHead()
{
    QFETCH(int, pageWidth);
    QFETCH(int, printableWidth);
    QFETCH(int, rightMargin);
    QFETCH(QString, header);
    QFETCH(QString, printed);
    QFETCH(int, pageX);
    PaperRun run(pageWidth);
    run.target.setScaleSize(printableWidth, 16838 - 400);
    run.state.printSettings.rightMargin = qint16(rightMargin);
    run.state.listHeader = header;
    run.print(filesNamed(1));
    QCOMPARE(run.heads(),
             (QStringList { u"text %1,-440 \"%2\""_s.arg(printed.section(u' ', 0, 0),
                                                         printed.section(u' ', 1)),
                            u"text %1,-440 \"Page  1 of  1\""_s.arg(pageX) }));
}

void tst_Printing::headerOffered_data()
{
    QTest::addColumn<QString>("typed"); // in the box of a print of the folder /old/
    QTest::addColumn<QString>("offered"); // by the next print's box, of the folder /data/
    QTest::newRow("the last folder by default: this folder") << u"/old/"_s << u"/data/"_s;
    QTest::newRow("a typed header: offered again in another folder") << u"Mine"_s << u"Mine"_s;
}

void tst_Printing::headerOffered()
{
    QFETCH(QString, typed);
    QFETCH(QString, offered);
    PaperRun run;
    ScriptedQuestions questions;
    questions.answerText(typed);
    questions.answerText(QString()); // Cancel: the folder is printed
    FakeSource old = filesNamed(1);
    old.prefix = u"/old/"_s;
    for (const FakeSource &files : { old, filesNamed(1) }) {
        PrintRun print(run.state, &questions);
        CatalogueWriter(run.state, files, run.viewport, run.host).writePages(run.target, print);
    }
    const QStringList log = questions.log();
    const QString at = u" at 2000,2000"_s;
    QVERIFY2(log.size() == 2 && log[0].endsWith(ScriptedQuestions::quoted(u"/old/"_s) + at)
                 && log[1].endsWith(ScriptedQuestions::quoted(offered) + at),
             qPrintable(log.join(u'|')));
    QCOMPARE(run.heads().value(2).section(u' ', 2), u"\"/data/\""_s);
}

// 32,767 characters, the most an input box takes.
void tst_Printing::longHeaderCostsLittleMore()
{
    const int length = 32767;
    const FakeSource files = filesNamed(25); // three pages of ten lines
    PaperRun shortHeader(11906, 2200 + 2 * 1134);
    shortHeader.print(files);
    PaperRun longHeader(11906, 2200 + 2 * 1134);
    longHeader.state.listHeader = QString(length - 1, u'x') + u'Z';
    longHeader.print(files);

    // Fitted once a run by halving over its length: a few measurements for each doubling of
    // the length. Once a page would take three times as many, one character at a time thousands.
    const qint64 extra = longHeader.target.measurements() - shortHeader.target.measurements();
    QVERIFY2(extra <= 2 * std::ceil(std::log2(length)) + 8, qPrintable(QString::number(extra)));
    // Its start gives way to "..." on every page, as the head table's too long header's does.
    const QString fitted = u"text 32,-440 \"..."_s + QString(60, u'x') + u"Z\""_s;
    QCOMPARE(longHeader.heads().filter(fitted).size(), 3);
}

void tst_Printing::pagesAgreeWithTheCount_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QList<qint64>>("printed"); // first and last line printed, pages
    // Ten lines a page.
    QTest::newRow("last line ends exactly at the print height") << 20 << QList<qint64> { 0, 19, 2 };
    QTest::newRow("one line more") << 21 << QList<qint64> { 0, 20, 3 };
    QTest::newRow("selection of lines 5 to 9: those, on one page")
        << 30 << QList<qint64> { 5, 9, 1 };
}

void tst_Printing::pagesAgreeWithTheCount()
{
    QFETCH(int, files);
    QFETCH(QList<qint64>, printed);
    PaperRun run(11906, 2200 + 2 * 1134);
    run.state.printSelection = printed[0] > 0;
    run.state.selection = { printed[0], printed[1], printed[0] > 0, printed[0] };
    run.print(filesNamed(files));
    QStringList names, heads;
    for (qint64 line = printed[0]; line <= printed[1]; ++line)
        names << u"file%1.txt"_s.arg(line, 2, 10, QLatin1Char('0'));
    for (qint64 page = 1; page <= printed[2]; ++page)
        heads << u"text 6530,-440 \"Page  %1 of  %2\""_s.arg(page).arg(printed[2]);
    QCOMPARE(run.heads().filter(u"Page"_s), heads);
    QStringList shown;
    for (const QString &call : run.target.calls(u"text 0,").filter(u"\"file"_s))
        shown << call.section(u'"', 1, 1);
    QCOMPARE(shown, names);
    QCOMPARE(run.state.metrics.pageCount, printed[2]);
}

// A file that cannot be written is the window's to test, message and all.
void tst_Printing::printFailureSaysWhy_data()
{
    QTest::addColumn<int>("refusedPage"); // 1: the printer refuses to start
    QTest::addColumn<QString>("why");
    QTest::addColumn<int>("pages");
    QTest::newRow("printer refuses to start") << 1 << u"The printer did not start the job."_s << 0;
    QTest::newRow("printer refuses page 2: the run ends")
        << 2 << u"The printer refused page 2, so the pages after it were not printed."_s << 1;
}

void tst_Printing::printFailureSaysWhy()
{
    QFETCH(int, refusedPage);
    QTemporaryDir scratch;
    const QString pdf = scratch.filePath(u"out.pdf"_s);
    RefusingPrinter printer(pdf, refusedPage);
    PaperRun run;
    const PrintResult result = run.print(filesNamed(200), printer); // four pages
    QCOMPARE(result.outcome, PrintResult::Outcome::Failed);
    QTEST(result.pages, "pages");
    QFETCH(QString, why);
    QCOMPARE(printFailureText(result),
             u"The catalogue could not be printed on %1.\n\n"_s.arg(pdf) + why);
    // Nothing more is drawn after the refusal: the meter stops on the first page.
    const QStringList meter = run.host.calls.filter(u"meter 2 "_s);
    QVERIFY(meter.isEmpty() || meter.last().section(u' ', -1).toInt() < 50);
    // A PDF is replaced only by a complete one: nothing is left of the failed run.
    QCOMPARE(entriesOf(scratch.path()), QStringList());
}

void tst_Printing::incompletePdf_data()
{
    QTest::addColumn<QString>("damage"); // to a PDF that the printer wrote
    QTest::addColumn<QString>("defect"); // empty: complete
    QTest::newRow("last line end gone: still complete") << u"last byte"_s << QString();
    QTest::newRow("cut in half") << u"half"_s << u"its end is missing"_s;
    QTest::newRow("a block lost in the page contents")
        << u"block"_s << u"its table of contents is not where its end says"_s;
    QTest::newRow("an entry lost from the table")
        << u"entry"_s << u"object 2 is not where its table says"_s;
}

void tst_Printing::incompletePdf()
{
    QFETCH(QString, damage);
    QTemporaryDir scratch;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(scratch.filePath(u"whole.pdf"_s));
    PaperRun run;
    QCOMPARE(run.print(filesNamed(200), printer).outcome, PrintResult::Outcome::Printed);
    QByteArray bytes = fileBytes(printer.outputFileName());
    const qint64 table = bytes.lastIndexOf("\nxref") + 1;
    QVERIFY(table > 0);
    if (damage == u"last byte")
        bytes.chop(1);
    else if (damage == u"half")
        bytes.truncate(bytes.size() / 2);
    else if (damage == u"block")
        bytes.remove(bytes.size() / 3, 4096);
    else if (damage == u"entry") // the third of the table
        bytes.remove(bytes.indexOf('\n', bytes.indexOf('\n', table) + 1) + 41, 20);
    QFETCH(QString, defect);
    QVERIFY2(pdfDefect(bytes).value_or(QString()).contains(defect),
             qPrintable(pdfDefect(bytes).value_or(u"complete"_s)));
    QCOMPARE(pdfDefect(bytes).has_value(), !defect.isEmpty());
}

void tst_Printing::printedPlace_data()
{
    QTest::addColumn<QMarginsF>("border"); // what the printer cannot print on, in points
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QSize>("paper"); // in twips
    // A4 is defined in true millimetres.
    const QSize a4(11906, 16838);
    QTest::newRow("no border") << QMarginsF(0, 0, 0, 0) << false << a4;
    QTest::newRow("10 points all round") << QMarginsF(10, 10, 10, 10) << false << a4;
    QTest::newRow("uneven border, landscape: the paper turned")
        << QMarginsF(5, 20, 30, 40) << true << a4.transposed();
}

// The first name starts at the top-left corner of the margins, 2268 and 1134 twips (113.4
// and 56.7 points) from the paper's edges, whatever border the printer has.
void tst_Printing::printedPlace()
{
    QFETCH(QMarginsF, border);
    QFETCH(bool, landscape);
    QTemporaryDir scratch;
    const QString pdf = scratch.filePath(u"place.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      border, QPageLayout::Point));
    const QSizeF paper = paperTwips(printer);
    QTEST(QSize(int(roundHalfEven(paper.width())), int(roundHalfEven(paper.height()))), "paper");
    PaperRun().print(filesNamed(1), printer);

    static const QRegularExpression firstName(
        uR"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)"[^>]*>file00\.txt<)re"_s);
    const QString words = popplerOutput(u"pdftotext"_s, { u"-bbox"_s, pdf, u"-"_s });
    const QRegularExpressionMatch at = firstName.match(words);
    QVERIFY2(at.hasMatch(), qPrintable(words));
    const QPointF points(at.captured(1).toDouble(), at.captured(2).toDouble());
    QVERIFY2((points - QPointF(113.4, 56.7)).manhattanLength() < 0.1,
             qPrintable(u"at %1, %2"_s.arg(points.x()).arg(points.y())));
}

void tst_Printing::jobTitle_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("title"); // also the name a PDF printer gives the file
    QTest::newRow("a folder: its name") << u"/data/"_s << u"data"_s;
    QTest::newRow("the root, which has no name: the program's") << u"/"_s << u"Quillmark"_s;
}

void tst_Printing::jobTitle()
{
    QFETCH(QString, folder);
    FakeSource source = filesNamed(1);
    source.prefix = folder;
    ScriptedQuestions questions;
    questions.answerPrint({ false }); // the title is set before the dialog shows
    PrintCommand command(questions);
    PaperRun run;
    command.run(run.state, source, run.viewport, run.host);
    QTEST(command.printer().docName(), "title");
}

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
