#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/linegeometry.h"
#include "catalogue/printcommand.h"
#include "catalogue/printertarget.h"
#include "catalogue/printrun.h"
#include "catalogue/testtarget.h"
#include "pdfreading.h"
#include "platform/numbers.h"
#include "platform/scriptedquestions.h"
#include "writerfakes.h"

#include <QDateTime>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

/// Questions that also note what the printer had received when the header box opened.
class HeaderQuestions : public ScriptedQuestions
{
public:
    const TestTarget *target = nullptr;
    QStringList drawnBeforeAsking;

    QString askText(const QString &title, const QString &prompt, const QString &defaultText,
                    QPoint screenTwips) override
    {
        drawnBeforeAsking = target->calls(u"text ");
        return ScriptedQuestions::askText(title, prompt, defaultText, screenTwips);
    }
};

/// A print run on the recording target: every character 100 twips wide, a line height of
/// 220 (200 and a tenth), paper of the given size with the default margins.
struct PaperRun
{
    CatalogueState state;
    FakeViewport viewport;
    RecordingHost host;
    TestTarget target;
    HeaderQuestions questions;

    explicit PaperRun(int pageWidth = 11906, int pageHeight = 16838)
    {
        state.pageWidth = pageWidth;
        state.pageHeight = pageHeight;
        state.printMode = true;
        target.setWidth(pageWidth);
        target.setHeight(pageHeight);
        target.clearCalls();
        questions.target = &target;
    }

    void print(const CatalogueSource &source, bool askHeader = false)
    {
        PrintRun run(state, askHeader ? &questions : nullptr);
        CatalogueWriter(state, source, viewport, host).writePreview(target, &run);
    }

    QStringList pageTexts() const
    {
        QStringList out;
        for (const QString &call : target.calls(u"text "))
            if (call.contains(u"\"Page "))
                out << call.mid(call.indexOf(u'"'));
        return out;
    }
};

struct PdfPrinter
{
    QPrinter printer { QPrinter::HighResolution };

    PdfPrinter(const QString &file, QPageSize::PageSizeId size, const QMarginsF &marginsMm)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(size));
        printer.setPageMargins(marginsMm, QPageLayout::Millimeter);
    }

    CatalogueState paperState() const
    {
        CatalogueState state;
        const QSizeF paper = paperTwips(printer);
        state.pageWidth = int(roundHalfEven(paper.width()));
        state.pageHeight = int(roundHalfEven(paper.height()));
        return state;
    }
};

// Prints straight on \a printer, as the command does once the dialogs are answered.
int printOn(QPrinter &printer, CatalogueState &state, const CatalogueSource &source)
{
    FakeViewport viewport;
    RecordingHost host;
    state.printMode = true;
    PrinterTarget target(printer);
    PrintRun run(state, nullptr);
    CatalogueWriter(state, source, viewport, host).writePreview(target, &run);
    target.endDoc();
    state.printMode = false;
    return target.ok() ? target.pageCount() : -1;
}

const PdfWord *findWord(const QList<PdfWord> &words, const QString &text)
{
    const auto it = std::find_if(words.begin(), words.end(),
                                 [&](const PdfWord &w) { return w.text == text; });
    return it == words.end() ? nullptr : &*it;
}

} // namespace

class tst_Printing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void pageText_data();
    void pageText();
    void pageHead_data();
    void pageHead();
    void longHeader_data();
    void longHeader();
    void pageBreak();
    void pagesAgreeWithTheCount_data();
    void pagesAgreeWithTheCount();
    void headerBox_data();
    void headerBox();
    void printedRange_data();
    void printedRange();
    void headOnPdf_data();
    void headOnPdf();
    void stoppedPrinterEndsTheWalk();

private:
    QTemporaryDir m_dir;
};

void tst_Printing::initTestCase()
{
    for (const QString &tool : { u"pdftotext"_s, u"pdfinfo"_s })
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), "poppler-utils are missing");
}

void tst_Printing::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_Printing::pageText_data()
{
    QTest::addColumn<qint64>("page");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("one of one: a blank for each sign")
        << qint64(1) << qint64(1) << u"Page  1 of  1"_s;
    QTest::newRow("two of ten") << qint64(2) << qint64(10) << u"Page  2 of  10"_s;
}

void tst_Printing::pageText()
{
    QFETCH(qint64, page);
    QFETCH(qint64, count);
    QFETCH(QString, text);
    QCOMPARE(qm::pageText(page, count), text);
}

void tst_Printing::pageHead_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("leftMargin");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("headerX");
    // The header "/data/" is 600 twips wide, "Page  1 of  1" 1300; heads stand at -2 x 220.
    QTest::newRow("A4: header centred on the paper, page text ends 7830 right of the margin")
        << 11906 << 2268 << 10.0 << false << 3385;
    QTest::newRow("Letter: wider paper moves the header, not the page text")
        << 12240 << 2268 << 10.0 << false << 3552;
    QTest::newRow("narrow left margin: the page text follows the margin")
        << 11906 << 1000 << 10.0 << false << 4653;
    QTest::newRow("bold 12 point font: blanks at 14, bold kept after the head")
        << 11906 << 2268 << 12.0 << true << 3385;
}

void tst_Printing::pageHead()
{
    QFETCH(int, pageWidth);
    QFETCH(int, leftMargin);
    QFETCH(double, fontSize);
    QFETCH(bool, bold);
    QFETCH(int, headerX);
    PaperRun run(pageWidth);
    run.state.printSettings.leftMargin = qint16(leftMargin);
    run.state.catalogueFont.size = fontSize;
    run.state.catalogueFont.bold = bold;
    run.print(filesNamed(1));

    const QStringList calls { u"fontSize %1"_s.arg(fontSize + 2),
                              u"text 0,0 \"             \""_s,
                              u"fontSize %1"_s.arg(fontSize),
                              u"fontBold 1"_s,
                              u"text %1,-440 \"/data/\""_s.arg(headerX),
                              u"text 6530,-440 \"Page  1 of  1\""_s,
                              u"fontBold %1"_s.arg(bold ? 1 : 0),
                              u"text 0,0 \"file00.txt\""_s };
    const QStringList all = run.target.calls();
    const qsizetype start = all.indexOf(calls.first());
    QVERIFY(start > 0);
    QCOMPARE(all.mid(start, calls.size()), calls);
    // The printer's origin is the margins' corner: nothing is written left of the paper.
    QCOMPARE(run.target.scaleLeft(), double(-leftMargin));
}

void tst_Printing::longHeader_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("kept"); // characters kept from the header's end, or all
    // "Page  1 of  1" starts at 6530; a column gap (98) before it the header must end.
    QTest::newRow("fits centred") << 20 << 2685 << 20;
    QTest::newRow("centred it would end 3 twips into the gap: moved left") << 55 << 932 << 55;
    QTest::newRow("too long even left of the page text: its start goes") << 70 << 32 << 61;
}

void tst_Printing::longHeader()
{
    QFETCH(int, length);
    QFETCH(int, x);
    QFETCH(int, kept);
    PaperRun run;
    QString header = u"/start/"_s + QString(length - 12, u'x') + u"/end/"_s;
    run.state.listHeader = header;
    run.print(filesNamed(1));
    const QString shown = kept == length ? header : u"..."_s + header.right(kept);
    QCOMPARE(run.target.calls(u"text ").filter(u",-440 "_s),
             (QStringList { u"text %1,-440 \"%2\""_s.arg(x).arg(shown),
                            u"text 6530,-440 \"Page  1 of  1\""_s }));
}

void tst_Printing::pageBreak()
{
    // A print height of exactly ten lines (2200): the eleventh line opens page 2.
    PaperRun run(11906, 2200 + 2 * 1134);
    run.print(filesNamed(11));
    const QStringList all = run.target.calls();
    const qsizetype start = all.indexOf(u"newPage"_s);
    QVERIFY(start > 0);
    QCOMPARE(all.at(start - 3), u"text 0,1980 \"file09.txt\""_s);
    QCOMPARE(all.mid(start, 9),
             (QStringList { u"newPage"_s, u"fontSize 12"_s, u"text -2268,-1134 \"             \""_s,
                            u"fontSize 10"_s, u"fontBold 1"_s, u"text 3385,-440 \"/data/\""_s,
                            u"text 6530,-440 \"Page  2 of  2\""_s, u"fontBold 0"_s,
                            u"text 0,0 \"file10.txt\""_s }));
    QCOMPARE(run.state.pageNumber, 2);
}

void tst_Printing::pagesAgreeWithTheCount_data()
{
    QTest::addColumn<double>("linesPerPrintHeight");
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("pages");
    QTest::newRow("last line ends exactly at the print height") << 10.0 << 20 << 2;
    QTest::newRow("one line fewer") << 10.0 << 19 << 2;
    QTest::newRow("one line more") << 10.0 << 21 << 3;
    QTest::newRow("last line reaches into the bottom margin") << 10.5 << 11 << 1;
    QTest::newRow("one line past a page that reached the margin") << 10.5 << 12 << 2;
    QTest::newRow("margins leave no print height: a page per line") << 0.0 << 3 << 3;
}

// On the recording target (220 twips a line) and on a PDF printer (its own line height), the
// pages printed are the pages counted.
void tst_Printing::pagesAgreeWithTheCount()
{
    QFETCH(double, linesPerPrintHeight);
    QFETCH(int, files);
    QFETCH(int, pages);
    PaperRun run(11906, qRound(linesPerPrintHeight * 220) + 2 * 1134);
    run.print(filesNamed(files));
    QStringList expected;
    for (int page = 1; page <= pages; ++page)
        expected << u"\"%1\""_s.arg(qm::pageText(page, pages));
    QCOMPARE(run.pageTexts(), expected);
    QCOMPARE(run.target.calls().count(u"newPage"_s), pages - 1);
    QCOMPARE(run.target.calls(u"text 0,").filter(u"\"file"_s).size(), files);
    QCOMPARE(run.state.metrics.pageCount, pages);

    const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".pdf"_s);
    PdfPrinter pdf(file, QPageSize::A4, QMarginsF(10, 10, 10, 10));
    CatalogueState state = pdf.paperState();
    {
        // The line height on this printer, to set the bottom margin by.
        PrinterTarget probe(pdf.printer);
        state.printMode = true;
        lineParameters(probe, state);
    }
    QVERIFY(state.metrics.lineHeight > 0);
    state.printSettings.bottomMargin
        = qint16(state.pageHeight - state.printSettings.topMargin
                 - qRound(linesPerPrintHeight * state.metrics.lineHeight));
    QCOMPARE(printOn(pdf.printer, state, filesNamed(files)), pages);
    QCOMPARE(state.metrics.pageCount, pages);
    QCOMPARE(pdfPageCount(file), pages);
    const QStringList texts = pdfPageTexts(file);
    QCOMPARE(texts.size(), pages);
    for (int page = 1; page <= pages; ++page)
        QVERIFY2(texts.at(page - 1).contains(
                     QRegularExpression(u"Page\\s+%1\\s+of\\s+%2\\n"_s.arg(page).arg(pages))),
                 qPrintable(texts.at(page - 1).left(300)));
}

void tst_Printing::headerBox_data()
{
    QTest::addColumn<QString>("lastHeader");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("printed");
    QTest::newRow("first run offers the folder, the answer is printed")
        << QString() << u"My catalogue"_s << u"/data/"_s << u"My catalogue"_s;
    QTest::newRow("Cancel prints the folder")
        << QString() << QString() << u"/data/"_s << u"/data/"_s;
    QTest::newRow("a later run offers the last header")
        << u"Holiday"_s << u"Holiday"_s << u"Holiday"_s << u"Holiday"_s;
    QTest::newRow("an emptied field prints the folder")
        << u"Holiday"_s << QString() << u"Holiday"_s << u"/data/"_s;
}

void tst_Printing::headerBox()
{
    QFETCH(QString, lastHeader);
    QFETCH(QString, answer);
    QFETCH(QString, offered);
    QFETCH(QString, printed);
    PaperRun run;
    run.state.listHeader = lastHeader;
    run.questions.answerText(answer);
    run.print(filesNamed(2), true);

    QCOMPARE(run.questions.log(),
             QStringList { u"text \"Quillmark Header\" \"Enter Catalogue List Header and press OK "
                           "or press Cancel to return no header\" "_s
                           + ScriptedQuestions::quoted(offered) + u" at 2000,2000"_s });
    // The page was open before the question came.
    QCOMPARE(run.questions.drawnBeforeAsking, QStringList { u"text 0,0 \"             \""_s });
    QCOMPARE(run.state.listHeader, printed);
    const QStringList heads = run.target.calls(u"text ").filter(u",-440 "_s);
    QCOMPARE(heads.size(), 2);
    QVERIFY2(heads.first().endsWith(ScriptedQuestions::quoted(printed)), qPrintable(heads.first()));
}

void tst_Printing::printedRange_data()
{
    QTest::addColumn<bool>("printSelection");
    QTest::addColumn<qint64>("selFirst");
    QTest::addColumn<qint64>("selLast");
    QTest::addColumn<int>("firstPrinted");
    QTest::addColumn<int>("lastPrinted");
    QTest::addColumn<QString>("firstPage"); // empty: not checked
    // 30 files, ten lines a page.
    QTest::newRow("selection of lines 5 to 9: five lines on one page")
        << true << qint64(5) << qint64(9) << 5 << 9 << u"\"Page  1 of  1\""_s;
    QTest::newRow("all pages chosen with a selection: every line, pages for all")
        << false << qint64(5) << qint64(9) << 0 << 29 << u"\"Page  1 of  3\""_s;
    QTest::newRow("selection left over from a longer list: cut at the list's end")
        << true << qint64(25) << qint64(40) << 25 << 29 << QString();
    QTest::newRow("selection range without lines: the whole list")
        << true << qint64(-1) << qint64(-1) << 0 << 29 << u"\"Page  1 of  3\""_s;
}

void tst_Printing::printedRange()
{
    QFETCH(bool, printSelection);
    QFETCH(qint64, selFirst);
    QFETCH(qint64, selLast);
    QFETCH(int, firstPrinted);
    QFETCH(int, lastPrinted);
    QFETCH(QString, firstPage);
    PaperRun run(11906, 2200 + 2 * 1134);
    run.state.printSelection = printSelection;
    run.state.selection = { selFirst, selLast, selFirst >= 0, selFirst };
    run.print(filesNamed(30));

    const QStringList names = run.target.calls(u"text 0,").filter(u"\"file"_s);
    QCOMPARE(names.size(), lastPrinted - firstPrinted + 1);
    QVERIFY(names.first().endsWith(u"\"file%1.txt\""_s.arg(firstPrinted, 2, 10, QLatin1Char('0'))));
    QVERIFY(names.last().endsWith(u"\"file%1.txt\""_s.arg(lastPrinted, 2, 10, QLatin1Char('0'))));
    if (!firstPage.isEmpty()) // a stale range is counted as it stands
        QCOMPARE(run.pageTexts().first(), firstPage);
    QVERIFY(!run.target.calls().contains(u"cls"_s)); // nothing cleared on paper
    // Printing leaves the preview's selection alone.
    QCOMPARE(run.state.selection.selFirst, selFirst);
    QCOMPARE(run.state.selection.selectionMade, selFirst >= 0);
}

void tst_Printing::headOnPdf_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("size");
    QTest::addColumn<QMarginsF>("printerBorder"); // mm
    QTest::addColumn<double>("paperWidth"); // points
    QTest::newRow("A4") << QPageSize::A4 << QMarginsF(10, 10, 10, 10) << 595.276;
    QTest::newRow("Letter") << QPageSize::Letter << QMarginsF(10, 10, 10, 10) << 612.0;
    QTest::newRow("printer border wider at the left and top")
        << QPageSize::A4 << QMarginsF(18, 15, 4, 5) << 595.276;
}

void tst_Printing::headOnPdf()
{
    QFETCH(QPageSize::PageSizeId, size);
    QFETCH(QMarginsF, printerBorder);
    QFETCH(double, paperWidth);
    const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".pdf"_s);
    PdfPrinter pdf(file, size, printerBorder);
    CatalogueState state = pdf.paperState();
    state.listHeader = u"Quillmark Test Header"_s;
    FakeSource source;
    source.add(u"alpha.txt"_s, 1234567, Afternoon);
    source.add(u"bravo.txt"_s, 12, Afternoon);
    QCOMPARE(printOn(pdf.printer, state, source), 1);

    const QList<PdfWord> words = pdfWords(file); // one page
    const PdfWord *alpha = findWord(words, u"alpha.txt"_s);
    const PdfWord *bravo = findWord(words, u"bravo.txt"_s);
    const PdfWord *pageWord = findWord(words, u"Page"_s);
    const PdfWord *quillmark = findWord(words, u"Quillmark"_s);
    const PdfWord *headerEnd = findWord(words, u"Header"_s);
    QVERIFY(alpha && bravo && pageWord && quillmark && headerEnd);

    // Twips / 20 = points. The name column at the left margin, the first line's box at the
    // top margin, whatever border the printer keeps.
    QVERIFY2(qAbs(alpha->xMin - 2268 / 20.0) < 0.5, qPrintable(QString::number(alpha->xMin)));
    QVERIFY2(qAbs(alpha->yMin - 1134 / 20.0) < 2, qPrintable(QString::number(alpha->yMin)));
    const double lineHeight = bravo->yMin - alpha->yMin;
    QVERIFY(lineHeight > 10 && lineHeight < 16);

    // The head: two lines above the first, the header centred on the paper, the page text
    // ending 7830 twips right of the left margin.
    QVERIFY(qAbs(alpha->yMin - quillmark->yMin - 2 * lineHeight) < 0.5);
    QCOMPARE(pageWord->yMin, quillmark->yMin);
    QVERIFY2(qAbs((quillmark->xMin + headerEnd->xMax) / 2 - paperWidth / 2) < 0.5,
             qPrintable(QString::number((quillmark->xMin + headerEnd->xMax) / 2)));
    double pageTextEnd = 0;
    for (const PdfWord &w : words)
        if (qAbs(w.yMin - pageWord->yMin) < 0.1 && w.xMin >= pageWord->xMin)
            pageTextEnd = std::max(pageTextEnd, w.xMax);
    QVERIFY2(qAbs(pageTextEnd - (2268 + 7830) / 20.0) < 0.5,
             qPrintable(QString::number(pageTextEnd)));

    const QString text = pdfPageTexts(file).value(0);
    QVERIFY2(text.contains(QRegularExpression(u"Quillmark Test Header\\s+Page\\s+1\\s+of\\s+1"_s)),
             qPrintable(text));
    QVERIFY2(text.contains(QRegularExpression(u"alpha\\.txt\\s+1,234,567\\s*12/6/26\\s+1:04"_s)),
             qPrintable(text));
}

void tst_Printing::stoppedPrinterEndsTheWalk()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath(u"no such folder/out.pdf"_s));
    CatalogueState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    state.metrics.lineHeight = 195; // the preview's
    FakeViewport viewport;
    RecordingHost host;
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    const PrintResult result
        = printCatalogue(state, filesNamed(1000), viewport, host, printer, nullptr);
    QCOMPARE(result.outcome, PrintResult::Outcome::Failed);
    QCOMPARE(result.destination, printer.outputFileName());
    QVERIFY(!state.printMode);
    QCOMPARE(state.metrics.lineHeight, 195);
    // Stopped at the first line: the meter never ran, and everything was put back.
    QCOMPARE(host.calls,
             (QStringList { u"busy 1"_s, u"status \"Printing\""_s, u"commands previewed"_s,
                            u"meter 0 #800080 #c0c0c0 0"_s, u"status \"\""_s, u"busy 0"_s }));
}

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
