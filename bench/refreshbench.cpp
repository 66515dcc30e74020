#include "benchcommands.h"
#include "benchsupport.h"

#include "browse/folderbrowser.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

// Times the window's own refresh path (list, filter, sort, sum) on a folder.
int runRefreshBench(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<BenchArguments> arguments = parseBenchArguments(args, "refresh");
    if (!arguments)
        return 2;
    const QString folder = arguments->folder;
    const int runs = arguments->runs;

    qm::FolderBrowser browser;
    prepareBrowser(browser, folder);

    std::vector<double> times;
    times.reserve(size_t(runs));
    qm::RefreshResult result;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        result = browser.refresh();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    out << "refresh " << browser.folder() << " files=" << result.fileCount
        << " bytes=" << result.byteTotal << " median_ms=" << QString::number(median(times), 'f', 1)
        << '\n';
    if (result.fellBack)
        err << "the folder asked for does not exist; its nearest parent was listed\n";
    if (result.error != 0) {
        err << "the folder could not be read completely: " << qt_error_string(result.error) << '\n';
        return 1;
    }
    return 0;
}
