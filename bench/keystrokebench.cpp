#include "benchcommands.h"
#include "benchsupport.h"

#include "app/mainwindow.h"
#include "browse/folderbrowserview.h"
#include "support/memorysettingsstore.h"
#include "support/scriptedquestions.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextStream>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Lets the window finish what a change set off: the refresh, the views' layout, painting.
void settleWindow()
{
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// Types \a text into the pattern box the way a quick typist does on a large folder: the first
// key arrives alone, the others while the refresh it started is still running. Returns the
// milliseconds until the window has settled; \a refreshes receives how many refreshes ran.
double typeDuringRefresh(qm::FolderBrowserView *browser, const QString &text, int *refreshes)
{
    QLineEdit *edit = browser->patternBox()->lineEdit();
    const auto postKey = [edit](QChar c) {
        QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, c));
    };
    *refreshes = 0;
    bool restPosted = false;
    const QMetaObject::Connection counter
        = QObject::connect(browser, &qm::FolderBrowserView::refreshed, browser, [&] {
              ++*refreshes;
              if (!restPosted) {
                  restPosted = true;
                  for (qsizetype i = 1; i < text.size(); ++i)
                      postKey(text.at(i));
              }
          });
    QElapsedTimer timer;
    timer.start();
    postKey(text.at(0));
    settleWindow();
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    QObject::disconnect(counter);
    return elapsed;
}

} // namespace

// Times one keystroke in the pattern box of the real main window, from the text change until
// the window has listed, totalled and painted, against the refresh alone (what the refresh
// bench times) in the same process. The two patterns both list every file, so each keystroke
// shows the whole folder.
int runKeystrokeBench(const QStringList &args)
{
    QTextStream out(stdout);
    const std::optional<BenchArguments> arguments = parseBenchArguments(args, "keystroke");
    if (!arguments)
        return 2;

    qm::MemorySettingsStore store;
    store.set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, arguments->folder);
    qm::ScriptedQuestions questions;
    qm::MainWindow window(store, questions);
    window.load();
    window.show();
    settleWindow();
    qm::FolderBrowserView *browser = window.browser();

    std::vector<double> keystrokes;
    std::vector<double> refreshes;
    for (int run = 0; run < arguments->runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        browser->patternBox()->setEditText(run % 2 == 0 ? u"*"_s : u"*.*"_s);
        settleWindow();
        keystrokes.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        browser->browser().refresh();
        refreshes.push_back(double(timer.nsecsElapsed()) / 1e6);
        settleWindow(); // the models changed under the views: let them catch up untimed
    }
    const double keystroke = median(keystrokes);
    const double refresh = median(refreshes);
    out << "keystroke " << browser->currentFolder()
        << " files=" << browser->browser().lastResult().fileCount
        << " window_ms=" << QString::number(keystroke, 'f', 1)
        << " refresh_ms=" << QString::number(refresh, 'f', 1) << " window_share="
        << QString::number(refresh > 0 ? (keystroke - refresh) / refresh * 100 : 0, 'f', 0)
        << "%\n";

    // Typing a pattern quickly, from an empty box.
    const QString typed = u"*99.txt"_s;
    browser->patternBox()->setEditText(QString());
    settleWindow();
    int refreshCount = 0;
    const double typing = typeDuringRefresh(browser, typed, &refreshCount);
    out << "typing \"" << typed << "\" refreshes=" << refreshCount
        << " files=" << browser->browser().lastResult().fileCount
        << " until_settled_ms=" << QString::number(typing, 'f', 1) << '\n';
    return 0;
}
