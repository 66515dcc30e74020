#include "about/artwork.h"
#include "about/splashwindow.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/settings.h"
#include "batch/batchrun.h"
#include "platform/helppage.h"
#include "platform/qtquestions.h"
#include "platform/settingsstore.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillmark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMARK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLMARK_APP_ID));

    qm::CommandLine command;
    {
        // Read before the window system is reached: --help and --version answer on a text
        // console too.
        const QCoreApplication reader(argc, argv);
        command = qm::readCommandLine(QCoreApplication::arguments(), QDir::currentPath(),
                                      qm::installedHelpPage());
    }
    if (command.action == qm::CommandLine::Action::Batch) {
        return qm::runBatch(argc, argv, command.batch, [](qm::CatalogueState &state) {
            const qm::IniSettingsStore store;
            qm::applyPageSetup(state, qm::loadSettings(store, QString()));
        });
    }
    if (command.action != qm::CommandLine::Action::Run) {
        const bool answer = command.action == qm::CommandLine::Action::Print;
        std::fputs(command.text.toLocal8Bit().constData(), answer ? stdout : stderr);
        return answer ? qm::ExitSuccess : qm::ExitUsage;
    }

    QApplication app(argc, argv);
    QApplication::setWindowIcon(qm::programIcon());

    // The splash closes itself; it is shown first so that it covers the window's loading.
    auto *splash = new qm::SplashWindow;
    splash->showAndPaint();

    qm::IniSettingsStore store;
    qm::QtQuestions questions;
    qm::MainWindow window(store, questions);
    questions.setParentWindow(&window);
    // Shown before the lists are filled: a folder of a million files takes seconds to list,
    // and the window shows how far it got meanwhile.
    window.show();
    window.load(command.folder);
    return QApplication::exec();
}
