#include "benchcommands.h"
#include "benchsupport.h"

#include "browse/folderbrowser.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/cataloguewriter.h"
#include "preview/previewarea.h"
#include "preview/selection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QWidget>

#include <vector>

// Times Select All on the whole preview, and a Shift press from the first line to the last,
// each with the repaint that shows it, on a preview drawn once beforehand.
int runSelectAllBench(const QStringList &args)
{
    const std::optional<BenchArguments> arguments = parseBenchArguments(args, "selectall");
    if (!arguments)
        return 2;
    qm::FolderBrowser browser;
    if (!listFolder(browser, arguments->folder))
        return 1;

    qm::CatalogueState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    QWidget window;
    window.resize(522, 390);
    qm::PreviewArea area(&window, state.metrics);
    window.show();
    QApplication::processEvents();

    QuietHost host;
    qm::PreviewSelection selection(state, browser.files(), area.picture(), host);
    qm::CatalogueWriter(state, browser.files(), area, host).writePreview(area.picture());
    selection.previewDrawn();
    QApplication::processEvents();

    const qint64 files = browser.files().count();
    const double lastLine = (double(files) - 0.5) * state.metrics.lineHeight;
    std::vector<double> selectAllTimes;
    std::vector<double> shiftTimes;
    for (int run = 0; run < arguments->runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const bool selected = selection.selectAll();
        area.view()->repaint();
        selectAllTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!selected) {
            QTextStream(stderr) << "there was no preview to select in\n";
            return 1;
        }

        selection.press(0.5 * state.metrics.lineHeight, Qt::LeftButton, Qt::NoModifier);
        area.view()->repaint();
        timer.start();
        selection.press(lastLine, Qt::LeftButton, Qt::ShiftModifier);
        area.view()->repaint();
        shiftTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    if (state.selection.selFirst != 0 || state.selection.selLast != files - 1) {
        QTextStream(stderr) << "the Shift press did not select every line\n";
        return 1;
    }

    QTextStream(stdout) << "selectall " << browser.folder() << " files=" << files
                        << " median_ms=" << QString::number(median(selectAllTimes), 'f', 1)
                        << " shift_ms=" << QString::number(median(shiftTimes), 'f', 1) << '\n';
    return 0;
}
