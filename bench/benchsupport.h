#pragma once

#include "browse/folderbrowser.h"
#include "catalogue/writerhost.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct BenchArguments
{
    QString folder;
    QString output; // for the commands that write a file
    int runs = 5;
};

// Reads "DIR [RUNS]"; says what is wrong on stderr and gives nothing when they do not fit.
std::optional<BenchArguments> parseBenchArguments(const QStringList &args, const char *command);
// Reads "DIR OUT [RUNS]" for a command that writes \a outputName.
std::optional<BenchArguments>
parseOutputBenchArguments(const QStringList &args, const char *command, const char *outputName);

// A browser set up as the window starts: pattern "*.*", every attribute switch on.
void prepareBrowser(qm::FolderBrowser &browser, const QString &folder);

double median(std::vector<double> values);

// The main window's side of a long command, minus the widgets a bench does not have.
class QuietHost : public qm::WriterHost
{
public:
    void setBusy(bool) override { }
    void setStatusText(const QString &) override { }
    void drawMeter(int, const QColor &, const QColor &, int) override { }
    void setPreviewedCommands() override { }
};

// `ls -l DIR > OUTPUT`, the yardstick for the outputs, in milliseconds; -1 when it failed.
double lsMilliseconds(const QString &folder, const QString &output);

// Sets up a browser as prepareBrowser() does and lists the folder once; says why on stderr
// and gives false when the folder cannot be read.
bool listFolder(qm::FolderBrowser &browser, const QString &folder);
