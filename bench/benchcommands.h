#pragma once

#include <QStringList>

// Each command takes its own arguments (after the command word) and returns the exit code.
int runRefreshBench(const QStringList &args);
int runPreviewBench(const QStringList &args);
int runSaveBench(const QStringList &args);
int runCopyBench(const QStringList &args);
int runPrintBench(const QStringList &args);
int runSelectAllBench(const QStringList &args);
int runKeystrokeBench(const QStringList &args);
