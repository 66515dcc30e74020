#pragma once

#include "browse/folderbrowser.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct BenchArguments
{
    QString folder;
    int runs = 5;
};

// Reads "DIR [RUNS]"; says what is wrong on stderr and gives nothing when they do not fit.
std::optional<BenchArguments> parseBenchArguments(const QStringList &args, const char *command);

// A browser set up as the window starts: pattern "*.*", every attribute switch on.
void prepareBrowser(qm::FolderBrowser &browser, const QString &folder);

double median(std::vector<double> values);
