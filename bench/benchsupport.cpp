#include "benchsupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include <algorithm>

std::optional<BenchArguments> parseBenchArguments(const QStringList &args, const char *command)
{
    QTextStream err(stderr);
    if (args.isEmpty() || args.size() > 2) {
        err << "usage: quillmark-bench " << command << " DIR [RUNS]\n";
        return std::nullopt;
    }
    BenchArguments parsed;
    parsed.folder = args.at(0);
    if (args.size() == 2) {
        bool ok = false;
        parsed.runs = args.at(1).toInt(&ok);
        if (!ok || parsed.runs < 1) {
            err << "RUNS must be a whole number of at least 1\n";
            return std::nullopt;
        }
    }
    return parsed;
}

void prepareBrowser(qm::FolderBrowser &browser, const QString &folder)
{
    browser.setFolder(folder);
    browser.setPattern(QStringLiteral("*.*"));
    browser.setSwitches(qm::AttributeSwitches());
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double lsMilliseconds(const QString &folder, const QString &output)
{
    QProcess ls;
    ls.setStandardOutputFile(output);
    QElapsedTimer timer;
    timer.start();
    ls.start(QStringLiteral("ls"), { QStringLiteral("-l"), folder });
    if (!ls.waitForFinished(-1) || ls.exitStatus() != QProcess::NormalExit)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

bool listFolder(qm::FolderBrowser &browser, const QString &folder)
{
    prepareBrowser(browser, folder);
    const qm::RefreshResult listed = browser.refresh();
    if (listed.error != 0) {
        QTextStream(stderr) << "the folder could not be read: " << qt_error_string(listed.error)
                            << '\n';
        return false;
    }
    return true;
}

std::optional<BenchArguments> parseOutputBenchArguments(const QStringList &args,
                                                        const char *command, const char *outputName)
{
    if (args.size() < 2 || args.size() > 3) {
        QTextStream(stderr) << "usage: quillmark-bench " << command << " DIR " << outputName
                            << " [RUNS]\n";
        return std::nullopt;
    }
    std::optional<BenchArguments> parsed
        = parseBenchArguments(QStringList(args.at(0)) + args.mid(2), command);
    if (parsed)
        parsed->output = args.at(1);
    return parsed;
}
