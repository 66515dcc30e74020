#include "benchcommands.h"
#include "benchsupport.h"

#include "browse/folderbrowser.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/writerhost.h"
#include "preview/previewarea.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <QWidget>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

// Times the Preview command's writer on a real preview area, offscreen, over a folder
// listed once beforehand by the window's own refresh path.
int runPreviewBench(const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<BenchArguments> arguments = parseBenchArguments(args, "preview");
    if (!arguments)
        return 2;
    const QString folder = arguments->folder;
    const int runs = arguments->runs;

    qm::FolderBrowser browser;
    if (!listFolder(browser, folder))
        return 1;

    // A4 with the default margins, as a printer would report it.
    qm::CatalogueState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    QWidget window;
    window.resize(522, 390);
    qm::PreviewArea area(&window, state.metrics);
    window.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    qint64 firstScreen = -1;
    area.picture().setRefreshHandler([&] {
        area.view()->repaint();
        if (firstScreen < 0)
            firstScreen = timer.nsecsElapsed();
    });

    QuietHost host;
    std::vector<double> times;
    std::vector<double> firstScreens;
    std::vector<double> lsTimes;
    for (int run = 0; run < runs; ++run) {
        area.resetScroll();
        firstScreen = -1;
        timer.start();
        qm::CatalogueWriter(state, browser.files(), area, host).writePreview(area.picture());
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        // A catalogue shorter than the window is shown when the program is idle: then the
        // whole run is the wait for the first screen.
        firstScreens.push_back(double(firstScreen < 0 ? timer.nsecsElapsed() : firstScreen) / 1e6);
        QApplication::processEvents();
        lsTimes.push_back(lsMilliseconds(browser.folder(), QProcess::nullDevice()));
    }

    const qint64 files = browser.files().count();
    const double bytesPerLine
        = files > 0 ? double(area.picture().memoryBytes()) / double(files) : 0.0;
    out << "preview " << browser.folder() << " files=" << files
        << " median_ms=" << QString::number(median(times), 'f', 1)
        << " first_screen_ms=" << QString::number(median(firstScreens), 'f', 1)
        << " bytes_per_line=" << QString::number(bytesPerLine, 'f', 0)
        << " ls_ms=" << QString::number(median(lsTimes), 'f', 1) << '\n';
    return 0;
}
