#include "printing/printcommand.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "platform/numbers.h"
#include "platform/questions.h"
#include "printing/printertarget.h"
#include "printing/printrun.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

QString folderName(const QString &folderPrefix)
{
    return QDir(QDir::cleanPath(QDir::fromNativeSeparators(folderPrefix))).dirName();
}

int wholeTwips(double twips)
{
    return int(std::clamp<qint64>(roundHalfEven(twips), 0, std::numeric_limits<int>::max()));
}

} // namespace

QString jobName(const QString &folderPrefix)
{
    const QString name = folderName(folderPrefix);
    return name.isEmpty() ? u"Quillmark"_s : name;
}

void takePageSize(CatalogueState &state, const QPrinter &printer)
{
    const QSizeF paper = paperTwips(printer);
    state.pageWidth = wholeTwips(paper.width());
    state.pageHeight = wholeTwips(paper.height());
}

QString defaultPdfFileName(const QString &folderPrefix)
{
    return QDir(QDir::homePath()).filePath(jobName(folderPrefix) + u".pdf"_s);
}

QString printFailureText(const PrintResult &result)
{
    return u"The catalogue could not be printed on %1.\n\n%2"_s.arg(result.destination,
                                                                    result.error);
}

PrintResult printCatalogue(CatalogueState &state, const CatalogueSource &source,
                           PreviewViewport &viewport, WriterHost &host, QPrinter &printer,
                           Questions *headerQuestions)
{
    PrintResult result;
    result.destination = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                       : printer.printerName();
    // Measuring on the printer replaces the preview's metrics, which its selection and its
    // scroll steps still need.
    const LineMetrics previewMetrics = state.metrics;
    {
        PrinterTarget target(printer);
        PrintRun run(state, headerQuestions);
        CatalogueWriter(state, source, viewport, host).writePages(target, run);
        target.endDoc();
        result.pages = target.pageCount();
        if (!target.ok()) {
            result.outcome = PrintResult::Outcome::Failed;
            result.error = target.error();
        } else if (result.pages == 0)
            result.outcome = PrintResult::Outcome::Empty;
        else
            result.outcome = PrintResult::Outcome::Printed;
    }
    state.metrics = previewMetrics;
    return result;
}

PrintCommand::PrintCommand(Questions &questions)
    : m_questions(questions)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

PrintCommand::~PrintCommand() = default;

void PrintCommand::offerPdfFile(const QString &folderPrefix)
{
    QPrinter &printer = *m_printer;
    // The job's title, and the name the dialog offers when the user picks a PDF file.
    printer.setDocName(folderName(folderPrefix));
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return;
    // Without a printer the dialog can only print to a file: it offers one in the home
    // folder named after the folder, unless the user chose another name last time.
    const QString current = printer.outputFileName();
    if (current.isEmpty() || current == m_offeredPdf) {
        m_offeredPdf = defaultPdfFileName(folderPrefix);
        printer.setOutputFileName(m_offeredPdf);
    }
}

PrintResult PrintCommand::run(CatalogueState &state, const CatalogueSource &source,
                              PreviewViewport &viewport, WriterHost &host)
{
    offerPdfFile(source.folderPrefix());
    bool selectionChosen = false;
    if (!m_questions.askPrint(m_printer.get(), state.selection.selectionMade, &selectionChosen))
        return {};
    // The dialog may have changed printer, paper or orientation.
    takePageSize(state, *m_printer);
    state.printSelection = selectionChosen;
    return printCatalogue(state, source, viewport, host, *m_printer, &m_questions);
}

} // namespace qm
