#include "benchcommands.h"

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
    if (args.isEmpty() || args.size() > 2) {
        err << "usage: quillmark-bench refresh DIR [RUNS]\n";
        return 2;
    }
    const QString folder = args.at(0);
    int runs = 5;
    if (args.size() == 2) {
        bool ok = false;
        runs = args.at(1).toInt(&ok);
        if (!ok || runs < 1) {
            err << "RUNS must be a whole number of at least 1\n";
            return 2;
        }
    }

    qm::FolderBrowser browser;
    browser.setFolder(folder);
    browser.setPattern(u"*.*"_s);
    browser.setSwitches(qm::AttributeSwitches());

    std::vector<double> times;
    times.reserve(size_t(runs));
    qm::RefreshResult result;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        result = browser.refresh();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    out << "refresh " << browser.folder() << " files=" << result.fileCount
        << " bytes=" << result.byteTotal << " median_ms=" << QString::number(median, 'f', 1)
        << '\n';
    if (result.fellBack)
        err << "the folder asked for does not exist; its nearest parent was listed\n";
    if (result.error != 0) {
        err << "the folder could not be read completely: " << qt_error_string(result.error) << '\n';
        return 1;
    }
    return 0;
}
