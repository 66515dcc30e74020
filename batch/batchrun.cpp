#include "batch/batchrun.h"

#include "batch/batchoptions.h"
#include "batch/progressline.h"
#include "browse/folderbrowser.h"
#include "browse/treelist.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/previewviewport.h"
#include "platform/filelisting.h"
#include "platform/wildcard.h"
#include "printing/printcommand.h"
#include "saving/textoutputs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QPrinter>
#include <QPrinterInfo>

#include <csignal>
#include <cstdio>

#include <sys/ioctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Printing measures on paper: the preview's viewing window is not there.
class NoPreview final : public PreviewViewport
{
public:
    qint64 viewWidth() const override { return 0; }
    qint64 viewHeight() const override { return 0; }
    qint64 viewScaleWidth() const override { return 0; }
    qint64 viewScaleHeight() const override { return 0; }
    void setScrollMaximum(Qt::Orientation, qint64) override { }
    qint64 scrollMaximum(Qt::Orientation) const override { return 0; }
    void setScrollMinimum(Qt::Orientation, qint64) override { }
    void setScrollSteps(Qt::Orientation, qint64, qint64) override { }
};

void writeToStandardError(QByteArrayView bytes)
{
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

int terminalColumns()
{
    winsize size {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

// A progress line only where someone watches it, and never inside a catalogue that goes to
// the same terminal.
bool progressWanted(const BatchOptions &options)
{
    if (options.quiet || !::isatty(STDERR_FILENO))
        return false;
    const bool toStandardOutput
        = options.output == BatchOptions::Output::Save && options.file == u"-";
    return !(toStandardOutput && ::isatty(STDOUT_FILENO));
}

QString reason(int error)
{
    return qt_error_string(error);
}

// Letter where the locale measures in inches and feet, A4 elsewhere.
QPageSize::PageSizeId localPaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                              : QPageSize::A4;
}

class BatchRun
{
public:
    explicit BatchRun(const BatchOptions &options)
        : m_options(options)
        , m_progress(writeToStandardError, progressWanted(options), terminalColumns())
    {
    }

    int run(const PageSetupLoader &loadPageSetup)
    {
        if (!list())
            return ExitFailure;
        const bool made
            = m_options.output == BatchOptions::Output::Save ? save() : print(loadPageSetup);
        m_progress.clear();
        if (made && !m_options.quiet)
            writeToStandardError(summaryLine(m_fileCount, m_byteTotal, m_pages).toUtf8() + '\n');
        return made && m_problems == 0 ? ExitSuccess : ExitFailure;
    }

private:
    void say(const QString &problem)
    {
        m_progress.clear();
        writeToStandardError((u"quillmark: "_s + problem + u'\n').toUtf8());
    }

    bool list();
    bool save();
    bool print(const PageSetupLoader &loadPageSetup);

    const BatchOptions &m_options;
    ProgressLine m_progress;
    FolderBrowser m_browser;
    TreeList m_tree;
    const CatalogueSource *m_source = nullptr;
    qint64 m_fileCount = 0;
    quint64 m_byteTotal = 0;
    int m_pages = -1;
    int m_problems = 0;
};

bool BatchRun::list()
{
    const QString folder = QDir::toNativeSeparators(m_options.folder);
    const QByteArray path = QFile::encodeName(m_options.folder);
    if (m_options.recursive) {
        const TreeResult result = m_tree.list(
            path, PatternMatcher(m_options.pattern), m_options.switches,
            [this](const QString &below) { m_progress.reading(below); },
            [this](const TreeProblem &problem) {
                ++m_problems;
                say(u"cannot read %1: %2"_s.arg(m_tree.folderPrefix() + problem.text,
                                                reason(problem.error)));
            });
        if (result.error != 0) {
            say(u"cannot read %1: %2"_s.arg(folder, reason(result.error)));
            return false;
        }
        m_source = &m_tree;
        m_fileCount = result.fileCount;
        m_byteTotal = result.byteTotal;
        return true;
    }

    // The folder asked for, not the parent that the window falls back to when it has gone.
    const FolderHandle handle = FolderHandle::open(path);
    if (!handle.isOpen()) {
        say(u"cannot read %1: %2"_s.arg(folder, reason(handle.error())));
        return false;
    }
    m_browser.setFolderPath(path);
    m_browser.setPattern(m_options.pattern);
    m_browser.setSwitches(m_options.switches);
    const RefreshResult result = m_browser.refresh();
    if (result.error != 0 || result.fellBack) {
        say(u"cannot read %1: %2"_s.arg(folder, reason(result.error ? result.error : ENOENT)));
        return false;
    }
    m_source = &m_browser.files();
    m_fileCount = result.fileCount;
    m_byteTotal = result.byteTotal;
    return true;
}

bool BatchRun::save()
{
    if (m_options.file == u"-") {
        QFile out;
        if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                      QFileDevice::DontCloseHandle)) {
            say(u"cannot write standard output: "_s + out.errorString());
            return false;
        }
        const SaveResult result = writeCatalogue(out, *m_source, m_progress, {}, m_options.save);
        if (!result.ok)
            say(u"cannot write standard output: "_s + result.error);
        return result.ok;
    }
    const SaveResult result
        = saveCatalogue(m_options.file, *m_source, m_progress, {}, m_options.save);
    if (!result.ok)
        say(u"cannot write %1: %2"_s.arg(QDir::toNativeSeparators(m_options.file), result.error));
    return result.ok;
}

bool BatchRun::print(const PageSetupLoader &loadPageSetup)
{
    CatalogueState state;
    if (loadPageSetup)
        loadPageSetup(state);
    // An empty header prints the folder, as an emptied header box does.
    state.listHeader = m_options.header.value_or(QString());

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobName(m_source->folderPrefix()));
    QString destination;
    if (m_options.output == BatchOptions::Output::PrintPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_options.file);
        printer.setPageSize(QPageSize(m_options.paper.value_or(localPaper())));
        destination = QDir::toNativeSeparators(m_options.file);
    } else {
        const QString name
            = m_options.printer.isEmpty() ? QPrinterInfo::defaultPrinterName() : m_options.printer;
        if (name.isEmpty()) {
            say(u"there is no default printer: name one with --printer"_s);
            return false;
        }
        if (QPrinterInfo::printerInfo(name).isNull()) {
            const QStringList known = QPrinterInfo::availablePrinterNames();
            say(u"there is no printer named %1 (%2)"_s.arg(name,
                                                           known.isEmpty() ? u"no printers here"_s
                                                                           : u"printers here: "_s
                                                                   + known.join(u", "_s)));
            return false;
        }
        printer.setPrinterName(name);
        if (m_options.paper)
            printer.setPageSize(QPageSize(*m_options.paper));
        printer.setCopyCount(m_options.copies);
        destination = name;
    }
    takePageSize(state, printer);

    NoPreview viewport;
    const PrintResult result
        = printCatalogue(state, *m_source, viewport, m_progress, printer, nullptr);
    switch (result.outcome) {
    case PrintResult::Outcome::Printed:
        m_pages = result.pages;
        return true;
    case PrintResult::Outcome::Empty:
        say(u"nothing to print: no file of %1 passed the pattern and the attributes"_s.arg(
            QDir::toNativeSeparators(m_options.folder)));
        return false;
    case PrintResult::Outcome::Cancelled:
    case PrintResult::Outcome::Stopped: // nothing here asks a run to stop
    case PrintResult::Outcome::Failed:
        break;
    }
    const QString why = asClause(result.error);
    say(m_options.output == BatchOptions::Output::PrintPdf
            ? u"cannot write %1: %2"_s.arg(destination, why)
            : u"cannot print on %1: %2"_s.arg(destination, why));
    return false;
}

// Standard error carries this program's own lines: the toolkit's notes (a missing runtime
// folder, a painter that could not begin) would only bury them. What it cannot go on from
// still gets through.
void keepToolkitQuiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        writeToStandardError(qFormatLogMessage(type, context, message).toLocal8Bit() + '\n');
}

} // namespace

int runBatch(int argc, char *argv[], const BatchOptions &options,
             const PageSetupLoader &loadPageSetup)
{
    qInstallMessageHandler(keepToolkitQuiet);
    // A file size limit is a full disk to the writer: the write fails and says so, and the
    // half-written file goes, where the signal would end the run and leave it behind.
    std::signal(SIGXFSZ, SIG_IGN);
    if (options.output == BatchOptions::Output::Save) {
        const QCoreApplication app(argc, argv);
        return BatchRun(options).run(loadPageSetup);
    }
    // Text is measured on the paper, which needs the fonts of a gui application: offscreen,
    // whatever the environment says, and without a desktop theme that would look for a
    // display of its own.
    qunsetenv("QT_QPA_PLATFORMTHEME");
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char *arguments[] = { argc > 0 ? argv[0] : platform, platform, offscreen, nullptr };
    int count = 3;
    const QGuiApplication app(count, arguments);
    return BatchRun(options).run(loadPageSetup);
}

} // namespace qm
