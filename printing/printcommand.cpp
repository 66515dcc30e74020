#include "printing/printcommand.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "platform/numbers.h"
#include "platform/outputfile.h"
#include "platform/questions.h"
#include "printing/pdfcheck.h"
#include "printing/printertarget.h"
#include "printing/printrun.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

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

// Why a PDF that was begun came out incomplete, or \a otherwise when that cannot be found.
// The engine keeps the reason to itself; one more byte written to the abandoned file tells
// it again (a full disk, a file size limit).
QString unfinishedPdfText(const QString &fileName, const QString &otherwise)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (::write(fd, "\n", 1) != 1)
            error = errno;
        ::close(fd);
    }
    return error == 0 ? otherwise : notCompletedText(error);
}

// Sets the printer to write beside the chosen file and back; the chosen name stays what the
// next dialog offers.
class OutputFileSwap
{
public:
    OutputFileSwap(QPrinter &printer, const QString &temporary)
        : m_printer(printer)
        , m_chosen(printer.outputFileName())
    {
        m_printer.setOutputFileName(temporary);
    }
    OutputFileSwap(const OutputFileSwap &) = delete;
    OutputFileSwap &operator=(const OutputFileSwap &) = delete;
    ~OutputFileSwap() { m_printer.setOutputFileName(m_chosen); }

private:
    QPrinter &m_printer;
    QString m_chosen;
};

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
    QString text = u"The catalogue could not be printed on %1.\n\n%2"_s.arg(result.destination,
                                                                            result.error);
    if (result.earlierFileKept)
        text += u"\n\nThe earlier file of that name is unchanged."_s;
    return text;
}

PrintResult printCatalogue(CatalogueState &state, const CatalogueSource &source,
                           PreviewViewport &viewport, WriterHost &host, QPrinter &printer,
                           Questions *headerQuestions)
{
    PrintResult result;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    result.destination = toFile ? printer.outputFileName() : printer.printerName();

    // A PDF file is written beside the chosen one and renamed over it only once it is
    // complete, as Save does: until then an earlier file stays as it was.
    std::optional<ReplacingFile> file;
    std::optional<OutputFileSwap> swap;
    const bool existed = toFile && QFileInfo(result.destination).isFile();
    if (toFile) {
        file.emplace(result.destination);
        if (!file->create()) {
            result.outcome = PrintResult::Outcome::Failed;
            result.error = file->errorString();
            result.earlierFileKept = existed;
            return result;
        }
        swap.emplace(printer, file->temporaryName());
    }

    // Measuring on the printer replaces the preview's metrics, which its selection and its
    // scroll steps still need.
    const LineMetrics previewMetrics = state.metrics;
    {
        PrinterTarget target(printer);
        PrintRun hooks(state, headerQuestions);
        const RunResult run
            = CatalogueWriter(state, source, viewport, host).writePages(target, hooks);
        // A stopped job still ends: a printer gets the pages made so far.
        target.endDoc();
        result.pages = target.pageCount();
        result.vanished = run.vanished;
        if (!target.ok()) {
            result.outcome = PrintResult::Outcome::Failed;
            result.error = target.error();
        } else if (run.stopped)
            result.outcome = PrintResult::Outcome::Stopped;
        else if (result.pages == 0)
            result.outcome = PrintResult::Outcome::Empty;
        else
            result.outcome = PrintResult::Outcome::Printed;
    }
    state.metrics = previewMetrics;
    if (!toFile)
        return result;

    swap.reset();
    if (result.outcome == PrintResult::Outcome::Printed) {
        if (const std::optional<QString> defect = pdfFileDefect(file->temporaryName())) {
            result.outcome = PrintResult::Outcome::Failed;
            result.error = unfinishedPdfText(file->temporaryName(), *defect);
        } else if (!file->commit()) {
            result.outcome = PrintResult::Outcome::Failed;
            result.error = file->errorString();
        }
    } else if (result.outcome == PrintResult::Outcome::Failed && result.pages > 0) {
        // A page the PDF engine refused is a file it could not write.
        result.error = unfinishedPdfText(file->temporaryName(), result.error);
    }
    // Anything but a complete PDF leaves the earlier file as it was.
    result.earlierFileKept = existed && result.outcome != PrintResult::Outcome::Printed;
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
    printer.setDocName(jobName(folderPrefix));
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
