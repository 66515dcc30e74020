#include "app/mainwindow.h"

#include "about/aboutbox.h"
#include "about/artwork.h"
#include "app/commandkeys.h"
#include "app/settings.h"
#include "app/toolicons.h"
#include "app/windowwriterhost.h"
#include "browse/folderbrowserview.h"
#include "browse/statusstrip.h"
#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguewriter.h"
#include "pagesetup/pagesetupdialog.h"
#include "platform/drives.h"
#include "platform/numbers.h"
#include "platform/questions.h"
#include "platform/runcontrol.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "platform/uifonts.h"
#include "preview/previewarea.h"
#include "preview/selection.h"
#include "printing/printcommand.h"
#include "saving/savecommand.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace qm {

MainWindow::MainWindow(SettingsStore &store, Questions &questions, QWidget *parent)
    : QMainWindow(parent)
    , m_store(store)
    , m_questions(questions)
    , m_printCommand(std::make_unique<PrintCommand>(questions))
{
    setWindowTitle(QStringLiteral("Quillmark"));
    setWindowIcon(programIcon());
    setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75));

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setFixedSize(twipsToPixels(7830), twipsToPixels(5805));
    m_client->setMouseTracking(true);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    createCommands();
    createToolBar();
    createMenus();

    m_preview = new PreviewArea(m_client, m_state.metrics);
    connect(m_preview, &PreviewArea::pictureMouseMoved, this, &MainWindow::hideToolTip);

    m_browser = new FolderBrowserView(m_client);
    connect(m_browser, &FolderBrowserView::refreshed, this, &MainWindow::onRefreshed);

    m_exit = new QPushButton(QStringLiteral("&Exit"), m_client);
    m_exit->setGeometry(twipsRect(6720, 4110, 975, 375));
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);

    m_runControl = std::make_unique<RunControl>(this, m_exit);
    m_browser->setRunControl(m_runControl.get());
    m_writerHost = std::make_unique<WindowWriterHost>(
        *m_browser->statusStrip(), [this] { setPreviewedState(); }, *m_runControl);
    m_selection = std::make_unique<PreviewSelection>(m_state, m_browser->fileSource(),
                                                     m_preview->picture(), *m_writerHost);
    m_save = std::make_unique<SaveCommand>(m_questions, *m_writerHost);
    connect(m_preview, &PreviewArea::picturePressed, this, &MainWindow::onPicturePressed);

    createToolTip();
    setTabChain();
    // A pattern typed just before the key is applied first: the commands' state follows it.
    new CommandKeys(this,
                    { m_commands.preview, m_commands.save, m_commands.pageSetup, m_commands.print,
                      m_commands.copy, m_commands.selectAll, m_commands.help },
                    [this] { m_browser->settle(); });

    move(twipsToPixels(1365), twipsToPixels(1860));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow() = default;

void MainWindow::setTabChain()
{
    const QList<QWidget *> order {
        m_browser->folderList(),
        m_browser->driveList(),
        m_browser->patternBox(),
        m_browser->attributeBox(FolderBrowserView::NormalBox),
        m_browser->attributeBox(FolderBrowserView::HiddenBox),
        m_browser->attributeBox(FolderBrowserView::SystemBox),
        m_browser->attributeBox(FolderBrowserView::ReadOnlyBox),
        m_browser->attributeBox(FolderBrowserView::ArchiveBox),
        m_preview->view(),
        m_preview->horizontalBar(),
        m_preview->verticalBar(),
        m_browser->fileList(),
        m_exit,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::createCommands()
{
    auto make = [this](const QString &text, const QKeySequence &shortcut) {
        auto *action = new QAction(text, this);
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        return action;
    };
    m_commands.preview = make(QStringLiteral("P&review"), QKeySequence(Qt::CTRL | Qt::Key_W));
    m_commands.save = make(QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m_commands.pageSetup = make(QStringLiteral("P&age Setup"), QKeySequence(Qt::CTRL | Qt::Key_G));
    m_commands.print = make(QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    m_commands.copy = make(QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    m_commands.selectAll = make(QStringLiteral("Se&lect All"), QKeySequence(Qt::CTRL | Qt::Key_A));
    m_commands.help = make(QStringLiteral("H&elp"), QKeySequence(Qt::Key_F1));
    m_commands.about = make(QStringLiteral("&About"), QKeySequence());

    connect(m_commands.preview, &QAction::triggered, this, &MainWindow::preview);
    connect(m_commands.save, &QAction::triggered, this, &MainWindow::save);
    connect(m_commands.copy, &QAction::triggered, this, &MainWindow::copy);
    connect(m_commands.selectAll, &QAction::triggered, this, &MainWindow::selectAll);
    connect(m_commands.pageSetup, &QAction::triggered, this, &MainWindow::pageSetup);
    connect(m_commands.print, &QAction::triggered, this, &MainWindow::print);
    connect(m_commands.help, &QAction::triggered, this, &MainWindow::showHelp);
    connect(m_commands.about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createToolBar()
{
    m_toolBar = new QWidget(m_client);
    m_toolBar->setObjectName(QStringLiteral("Picture3"));
    m_toolBar->setGeometry(twipsRect(0, 0, 7830, 495));
    m_toolBar->setMouseTracking(true);
    m_toolBar->installEventFilter(this);

    for (size_t i = 0; i < ToolButtons.size(); ++i) {
        const ToolButtonEntry &tool = ToolButtons[i];
        QAction *action = m_commands.action(tool.command);
        auto *button = new QToolButton(m_toolBar);
        // The icon lives on the action: the button takes it from there on every change.
        action->setIcon(toolIcon(tool.picture));
        button->setDefaultAction(action);
        // The pictures grow with the dots per inch, as the buttons do: 16 pixels at 96.
        const QSize picture = toolPictureSize(tool.picture);
        button->setIconSize(
            QSize(twipsToPixels(picture.width() * 15.0), twipsToPixels(picture.height() * 15.0)));
        button->setGeometry(twipsRect(tool.left, ToolButtonTop, ToolButtonSide, ToolButtonSide));
        button->setAccessibleName(tool.tip.trimmed().toString());
        button->setFocusPolicy(Qt::NoFocus);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        button->setProperty("toolButton", int(tool.button));
        connect(button, &QToolButton::clicked, this, &MainWindow::hideToolTipPanel);
        m_buttons[i] = button;
    }
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(m_commands.preview);
    file->addSeparator();
    file->addAction(m_commands.save);
    file->addSeparator();
    file->addAction(m_commands.pageSetup);
    file->addAction(m_commands.print);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addAction(m_commands.copy);
    edit->addSeparator();
    edit->addAction(m_commands.selectAll);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(m_commands.help);
    help->addAction(m_commands.about);
}

void MainWindow::createToolTip()
{
    m_toolTip = new QLabel(m_client);
    m_toolTip->setObjectName(QStringLiteral("txtToolTip"));
    m_toolTip->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    m_toolTip->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_toolTip->setAlignment(Qt::AlignCenter);
    m_toolTip->setAutoFillBackground(true);
    QPalette palette = m_toolTip->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xC0));
    palette.setColor(QPalette::WindowText, Qt::black);
    m_toolTip->setPalette(palette);
    m_toolTip->setGeometry(twipsRect(ToolTipLogic::StartLeft, ToolTipLogic::StartTop, 735, 255));
    m_toolTip->hide();

    m_toolTipTimer.setInterval(ToolTipLogic::IntervalMs);
    connect(&m_toolTipTimer, &QTimer::timeout, this, &MainWindow::showToolTip);
}

QToolButton *MainWindow::toolButton(ToolButton button) const
{
    for (size_t i = 0; i < ToolButtons.size(); ++i) {
        if (ToolButtons[i].button == button)
            return m_buttons[i];
    }
    return nullptr;
}

QAction *MainWindow::Commands::action(Command command) const
{
    switch (command) {
    case Command::Preview:
        return preview;
    case Command::Save:
        return save;
    case Command::PageSetup:
        return pageSetup;
    case Command::Print:
        return print;
    case Command::Copy:
        return copy;
    case Command::SelectAll:
        return selectAll;
    case Command::Help:
        return help;
    case Command::About:
        return about;
    }
    return nullptr;
}
void MainWindow::load(const QString &startFolder)
{
    const StoredSettings stored = loadSettings(m_store, defaultFolder());
    applyPageSetup(m_state, stored);

    m_tipLogic.surfaceMoved();
    m_toolTip->hide();
    m_toolTipTimer.stop();

    m_state.previewReady = false;
    setListedState();

    m_state.printSelection = false;

    takePageSize(m_state, m_printCommand->printer());

    m_browser->start(startFolder.isEmpty() ? stored.folder : startFolder);

    m_state.settingsChanged = false;
}

void MainWindow::setListedState()
{
    m_commands.copy->setEnabled(false);
    m_commands.save->setEnabled(false);
    m_commands.print->setEnabled(false);
    m_commands.selectAll->setEnabled(false);
}

void MainWindow::setPreviewedState()
{
    m_commands.copy->setEnabled(false);
    m_commands.save->setEnabled(true);
    m_commands.print->setEnabled(true);
    m_commands.selectAll->setEnabled(true);
}

void MainWindow::onRefreshed()
{
    m_preview->picture().cls();
    m_preview->resetScroll();
    m_state.previewReady = false;
    setListedState();
    m_state.settingsChanged = true;
    m_preview->emptyPicture();
    closeIfAsked(); // the window may have been closed while a large folder was listed
}

void MainWindow::runLong(const std::function<void()> &command)
{
    {
        const RunControl::Run run(*m_runControl);
        command();
    }
    closeIfAsked();
}

void MainWindow::closeIfAsked()
{
    if (!m_runControl->closeRequested())
        return;
    m_runControl->clearCloseRequest();
    // Once the command has unwound, so that it ends as a stopped one does.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::sayHowItEnded(const QString &note)
{
    m_browser->statusStrip()->setNote(note);
}

void MainWindow::hideToolTipPanel()
{
    // A click hides the tip, but the mouse still rests on the tool bar: the running timer
    // shows it again on its next tick.
    m_tipLogic.buttonClicked();
    m_toolTip->hide();
}

void MainWindow::preview()
{
    m_browser->settle(); // a pattern typed just before counts
    hideToolTipPanel();
    m_preview->resetScroll();
    drawPreview();
}

void MainWindow::drawPreview()
{
    runLong([this] {
        const CatalogueSource &source = m_browser->fileSource();
        CatalogueWriter writer(m_state, source, *m_preview, *m_writerHost);
        const RunResult result = writer.writePreview(m_preview->picture());
        m_selection->previewDrawn();
        if (result.stopped)
            sayHowItEnded(QStringLiteral("Preview stopped at line %1 of %2")
                              .arg(groupedNumber(result.lines), groupedNumber(source.count())));
    });
}

bool MainWindow::listIsCurrent(const QAction *command)
{
    // A pattern typed just before counts: its refresh may leave the command nothing to do.
    m_browser->settle();
    return command->isEnabled();
}

void MainWindow::save()
{
    if (!listIsCurrent(m_commands.save))
        return;
    hideToolTipPanel();
    runLong([this] {
        m_save->run(m_browser->fileSource(), m_state.selection);
        const SaveResult &result = m_save->lastResult();
        if (result.run.stopped)
            sayHowItEnded(QStringLiteral("Save stopped; nothing was written"));
        else if (result.ok)
            sayHowItEnded(vanishedText(result.run.vanished));
    });
}

void MainWindow::copy()
{
    if (!listIsCurrent(m_commands.copy))
        return;
    hideToolTipPanel();
    runLong([this] {
        const CopyResult copied
            = selectionText(m_browser->fileSource(), m_state.selection, *m_writerHost);
        if (copied.run.stopped) {
            sayHowItEnded(QStringLiteral("Copy stopped; the clipboard is unchanged"));
            return;
        }
        if (!copied.text.isEmpty())
            QGuiApplication::clipboard()->setText(copied.text);
        sayHowItEnded(vanishedText(copied.run.vanished));
    });
}

void MainWindow::selectAll()
{
    if (m_selection->selectAll())
        m_commands.copy->setEnabled(true);
}

void MainWindow::onPicturePressed(double yTwips, Qt::MouseButton button,
                                  Qt::KeyboardModifiers modifiers)
{
    if (m_selection->press(yTwips, button, modifiers))
        m_commands.copy->setEnabled(true);
}

void MainWindow::pageSetup()
{
    hideToolTipPanel();
    // The minimums are those of the printer that Print uses, as the user last chose it.
    PageSetupDialog dialog(m_state, m_questions, printerMarginMinimums(m_printCommand->printer()),
                           this);
    connect(&dialog, &PageSetupDialog::previewRedrawRequested, this, &MainWindow::redrawPreview);
    dialog.exec();
}

void MainWindow::redrawPreview()
{
    drawPreview();
    // The bars keep their values; the picture follows them at the new line height and width.
    m_preview->scrollVertically();
    m_preview->scrollHorizontally();
}

void MainWindow::print()
{
    if (!listIsCurrent(m_commands.print))
        return;
    hideToolTipPanel();
    runLong([this] {
        const PrintResult result
            = m_printCommand->run(m_state, m_browser->fileSource(), *m_preview, *m_writerHost);
        switch (result.outcome) {
        case PrintResult::Outcome::Failed:
            // A job that could not be written must not pass for one that was.
            m_questions.showMessage(QStringLiteral("Quillmark Print"), printFailureText(result));
            break;
        case PrintResult::Outcome::Stopped:
            sayHowItEnded(m_printCommand->printer().outputFormat() == QPrinter::PdfFormat
                              ? QStringLiteral("Printing stopped; nothing was written")
                              : QStringLiteral("Printing stopped; %1 went to the printer")
                                    .arg(result.pages == 1
                                             ? QStringLiteral("1 page")
                                             : QStringLiteral("%1 pages").arg(result.pages)));
            break;
        case PrintResult::Outcome::Printed:
            sayHowItEnded(vanishedText(result.vanished));
            break;
        case PrintResult::Outcome::Cancelled:
        case PrintResult::Outcome::Empty:
            break;
        }
    });
}

void MainWindow::showToolTip()
{
    m_tipLogic.tick();
    m_toolTip->setText(m_tipLogic.text());
    m_toolTip->move(twipsToPixels(m_tipLogic.left()), twipsToPixels(m_tipLogic.top()));
    m_toolTip->raise();
    m_toolTip->setVisible(m_tipLogic.visible());
}

void MainWindow::hideToolTip()
{
    m_tipLogic.surfaceMoved();
    m_toolTipTimer.stop();
    m_toolTip->hide();
}

void MainWindow::showHelp()
{
    m_questions.showHelp();
}

void MainWindow::showAbout()
{
    AboutBox about(this);
    about.exec();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        return true; // the window draws its own tips
    if (event->type() == QEvent::MouseMove) {
        if (auto *button = qobject_cast<QToolButton *>(watched)) {
            const auto tool = static_cast<ToolButton>(button->property("toolButton").toInt());
            if (m_tipLogic.buttonMoved(tool))
                m_toolTipTimer.start();
        } else if (watched == m_client || watched == m_toolBar) {
            // Moves over other controls reach here too when those controls do not track the
            // mouse; only the bare background and the bare tool bar hide the tip.
            auto *surface = static_cast<QWidget *>(watched);
            const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
            QWidget *child = surface->childAt(at);
            if (!child || child == m_toolBar)
                hideToolTip();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_state.settingsChanged) {
        StoredSettings stored;
        stored.folder = m_browser->currentFolder();
        stored.colour = m_state.catalogueColour;
        stored.font = m_state.catalogueFont;
        stored.print = m_state.printSettings;
        saveSettings(m_store, stored);
        // Lost settings would pass for saved ones: say so once, then close all the same.
        const SettingsWriteResult written = m_store.commit();
        if (!written.ok)
            m_questions.showMessage(QStringLiteral("Quillmark"), settingsNotSavedText(written));
    }
    m_toolTipTimer.stop();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
    event->accept();
}

} // namespace qm
