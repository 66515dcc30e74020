#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace qm::test {

/// What one run of the real program gave.
struct ProgramRun
{
    bool started = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

/// How the program is run: as on a text console (no display of any kind, no platform chosen
/// for it), with the settings store under \a configHome.
struct ProgramSetup
{
    QString configHome;
    QStringList environment; // "NAME=value" to set besides
    QString standardOutputFile; // instead of capturing standard output
    std::function<void()> inChild; // run in the child before the program starts
};

inline ProgramRun runProgram(const QString &program, const QStringList &arguments,
                             const ProgramSetup &setup)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QLatin1StringView(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), setup.configHome);
    for (const QString &pair : setup.environment)
        environment.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));

    QProcess process;
    process.setProcessEnvironment(environment);
    if (!setup.standardOutputFile.isEmpty())
        process.setStandardOutputFile(setup.standardOutputFile);
    if (setup.inChild)
        process.setChildProcessModifier(setup.inChild);
    process.start(program, arguments);
    ProgramRun run;
    run.started = process.waitForStarted(30000);
    if (!run.started || !process.waitForFinished(120000)
        || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace qm::test
