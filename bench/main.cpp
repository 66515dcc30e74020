#include "benchcommands.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // The preview bench draws text, so a GUI application is needed even offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == u"refresh")
        return runRefreshBench(args);
    if (command == u"preview")
        return runPreviewBench(args);
    if (command == u"save")
        return runSaveBench(args);
    if (command == u"copy")
        return runCopyBench(args);
    if (command == u"print")
        return runPrintBench(args);
    if (command == u"selectall")
        return runSelectAllBench(args);
    if (command == u"keystroke")
        return runKeystrokeBench(args);

    QTextStream(stderr) << "usage: quillmark-bench refresh DIR [RUNS]\n"
                           "       quillmark-bench preview DIR [RUNS]\n"
                           "       quillmark-bench save DIR OUT [RUNS]\n"
                           "       quillmark-bench copy DIR [RUNS]\n"
                           "       quillmark-bench print DIR OUT.pdf [RUNS] [--header TEXT]\n"
                           "       quillmark-bench selectall DIR [RUNS]\n"
                           "       quillmark-bench keystroke DIR [RUNS]\n";
    return 2;
}
