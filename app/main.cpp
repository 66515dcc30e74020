#include "about/artwork.h"
#include "about/splashwindow.h"
#include "app/mainwindow.h"
#include "platform/qtquestions.h"
#include "platform/settingsstore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillmark"));
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QApplication::setWindowIcon(qm::applicationIcon());

    // The splash closes itself; it is shown first so that it covers the window's loading.
    auto *splash = new qm::SplashWindow;
    splash->showAndPaint();

    qm::IniSettingsStore store;
    qm::QtQuestions questions;
    qm::MainWindow window(store, questions);
    questions.setParentWindow(&window);
    window.load();
    window.show();
    return QApplication::exec();
}
