#pragma once

#include "app/runstate.h"
#include "app/tooltip.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QToolButton;

namespace qm {

class FolderBrowserView;
class PreviewArea;
class PreviewSelection;
class SaveCommand;
class PrintCommand;
class Questions;
class RunControl;
class SettingsStore;
class WindowWriterHost;

/// The main window: composes the folder browser, the preview area and the commands, and
/// owns the run's shared state. The parts do the work; this class wires them.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(SettingsStore &store, Questions &questions, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Prepares the window in its load order: settings, command state, lists. A
    /// \a startFolder (from the command line) is shown instead of the stored one.
    void load(const QString &startFolder = QString());

    RunState &state() { return m_state; }
    const RunState &state() const { return m_state; }

    struct Commands
    {
        QAction *preview = nullptr;
        QAction *save = nullptr;
        QAction *pageSetup = nullptr;
        QAction *print = nullptr;
        QAction *copy = nullptr;
        QAction *selectAll = nullptr;
        QAction *help = nullptr;
        QAction *about = nullptr;

        QAction *action(Command command) const;
    };
    const Commands &commands() const { return m_commands; }
    QToolButton *toolButton(ToolButton button) const;
    QLabel *toolTipPanel() const { return m_toolTip; }
    QTimer *toolTipTimer() { return &m_toolTipTimer; }
    QWidget *toolBar() const { return m_toolBar; }
    QPushButton *exitButton() const { return m_exit; }
    FolderBrowserView *browser() const { return m_browser; }
    PreviewArea *previewArea() const { return m_preview; }

    /// The Preview command.
    void preview();
    /// The Save command.
    void save();
    /// The Copy command: the selected lines onto the clipboard.
    void copy();
    /// The Select All command.
    void selectAll();
    /// The Page Setup command: the dialog, modal.
    void pageSetup();
    /// The Print command.
    void print();
    PrintCommand &printCommand() { return *m_printCommand; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createCommands();
    void createToolBar();
    void createMenus();
    void createToolTip();
    void setTabChain();
    void setListedState();
    void setPreviewedState();
    void onRefreshed();
    void onPicturePressed(double yTwips, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void drawPreview();
    void redrawPreview();
    /// Runs a command that may take long: it can be stopped, and a close asked for meanwhile
    /// takes effect once it has ended.
    void runLong(const std::function<void()> &command);
    void closeIfAsked();
    bool listIsCurrent(const QAction *command);
    void sayHowItEnded(const QString &note);
    void showToolTip();
    void hideToolTip();
    void hideToolTipPanel();
    void showHelp();
    void showAbout();

    SettingsStore &m_store;
    Questions &m_questions;
    RunState m_state;

    QWidget *m_client = nullptr;
    QWidget *m_toolBar = nullptr;
    std::array<QToolButton *, ToolButtons.size()> m_buttons {}; // in tool bar order
    QLabel *m_toolTip = nullptr;
    QPushButton *m_exit = nullptr;
    FolderBrowserView *m_browser = nullptr;
    PreviewArea *m_preview = nullptr;
    std::unique_ptr<RunControl> m_runControl;
    std::unique_ptr<WindowWriterHost> m_writerHost;
    std::unique_ptr<PreviewSelection> m_selection;
    std::unique_ptr<SaveCommand> m_save;
    std::unique_ptr<PrintCommand> m_printCommand;
    Commands m_commands;

    ToolTipLogic m_tipLogic;
    QTimer m_toolTipTimer;
};

} // namespace qm
