#include "benchcommands.h"
#include "benchsupport.h"

#include "browse/folderbrowser.h"
#include "saving/textoutputs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <vector>

namespace {

void report(const char *command, const qm::FolderBrowser &browser, const std::vector<double> &times,
            const std::vector<double> &lsTimes)
{
    QTextStream(stdout) << command << ' ' << browser.folder()
                        << " files=" << browser.files().count()
                        << " median_ms=" << QString::number(median(times), 'f', 1)
                        << " ls_ms=" << QString::number(median(lsTimes), 'f', 1) << '\n';
}

} // namespace

// Times the Save command's writing of the whole list (everything after the dialog) against
// `ls -l DIR > FILE` in the same run.
int runSaveBench(const QStringList &args)
{
    QTextStream err(stderr);
    const std::optional<BenchArguments> arguments = parseOutputBenchArguments(args, "save", "OUT");
    if (!arguments)
        return 2;
    const QString output = arguments->output;
    qm::FolderBrowser browser;
    if (!listFolder(browser, arguments->folder))
        return 1;

    QuietHost host;
    const QString lsOutput = output + QStringLiteral(".ls");
    std::vector<double> times;
    std::vector<double> lsTimes;
    for (int run = 0; run < arguments->runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const qm::SaveResult saved = qm::saveCatalogue(output, browser.files(), host, {});
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!saved.ok) {
            err << "the catalogue could not be saved: " << saved.error << '\n';
            return 1;
        }
        lsTimes.push_back(lsMilliseconds(browser.folder(), lsOutput));
    }
    QFile::remove(lsOutput);
    report("save", browser, times, lsTimes);
    return 0;
}

// Times building the clipboard text of every line, as Copy after Select All does.
int runCopyBench(const QStringList &args)
{
    const std::optional<BenchArguments> arguments = parseBenchArguments(args, "copy");
    if (!arguments)
        return 2;
    qm::FolderBrowser browser;
    if (!listFolder(browser, arguments->folder))
        return 1;

    QuietHost host;
    std::vector<double> times;
    std::vector<double> lsTimes;
    qsizetype characters = 0;
    for (int run = 0; run < arguments->runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        characters
            = qm::clipboardText(browser.files(), 0, browser.files().count() - 1, host).text.size();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        lsTimes.push_back(lsMilliseconds(browser.folder(), QStringLiteral("/dev/null")));
    }
    if (characters == 0 && browser.files().count() > 0) {
        QTextStream(stderr) << "the clipboard text came out empty\n";
        return 1;
    }
    report("copy", browser, times, lsTimes);
    return 0;
}
