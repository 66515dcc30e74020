#include "benchcommands.h"
#include "benchsupport.h"

#include "browse/folderbrowser.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/previewviewport.h"
#include "catalogue/writerhost.h"
#include "printing/printcommand.h"

#include <QElapsedTimer>
#include <QPrinter>
#include <QTextStream>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The main window's viewing window, as far as printing reads it.
class FixedViewport : public qm::PreviewViewport
{
public:
    qint64 viewWidth() const override { return 7575; }
    qint64 viewHeight() const override { return 2415; }
    qint64 viewScaleWidth() const override { return 7515; }
    qint64 viewScaleHeight() const override { return 2355; }
    void setScrollMaximum(Qt::Orientation, qint64) override { }
    qint64 scrollMaximum(Qt::Orientation) const override { return 0; }
    void setScrollMinimum(Qt::Orientation, qint64) override { }
    void setScrollSteps(Qt::Orientation, qint64, qint64) override { }
};

} // namespace

// Times the Print command's path after its dialogs, to a PDF file on A4 paper, with the
// folder as the header unless "--header TEXT" gives another.
int runPrintBench(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList rest = args;
    QString header;
    if (const qsizetype at = rest.indexOf(u"--header"_s); at >= 0) {
        if (at + 1 >= rest.size() || rest.at(at + 1).isEmpty()) {
            err << "--header needs a text\n";
            return 2;
        }
        header = rest.at(at + 1);
        rest.remove(at, 2);
    }
    const std::optional<BenchArguments> arguments
        = parseOutputBenchArguments(rest, "print", "OUT.pdf [--header TEXT]");
    if (!arguments)
        return 2;
    const QString output = arguments->output;

    qm::FolderBrowser browser;
    if (!listFolder(browser, arguments->folder))
        return 1;

    QuietHost host;
    FixedViewport viewport;
    std::vector<double> times;
    int pages = 0;
    for (int run = 0; run < arguments->runs; ++run) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        printer.setPageSize(QPageSize(QPageSize::A4));
        qm::CatalogueState state;
        state.listHeader = header;
        qm::takePageSize(state, printer);

        QElapsedTimer timer;
        timer.start();
        const qm::PrintResult result
            = qm::printCatalogue(state, browser.files(), viewport, host, printer, nullptr);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result.outcome != qm::PrintResult::Outcome::Printed) {
            err << (result.outcome == qm::PrintResult::Outcome::Failed
                        ? qm::printFailureText(result)
                        : u"The folder has no file to print."_s)
                << '\n';
            return 1;
        }
        pages = result.pages;
    }

    out << "print " << browser.folder() << " files=" << browser.files().count()
        << " header_chars=" << (header.isEmpty() ? browser.files().folderPrefix() : header).size()
        << " pages=" << pages << " median_ms=" << QString::number(median(times), 'f', 1) << '\n';
    return 0;
}
