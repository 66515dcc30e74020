#include "app/mainwindow.h"

#include "about/aboutbox.h"
#include "about/artwork.h"
#include "app/toolicons.h"
#include "app/windowwriterhost.h"
#include "browse/folderbrowserview.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/previewarea.h"
#include "platform/drives.h"
#include "platform/questions.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "platform/uifonts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
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

namespace {

struct ToolButtonPlace
{
    ToolButton button;
    int left;
};

// Tool bar order of the buttons; all share Top 60 and 375 × 375 twips.
constexpr std::array<ToolButtonPlace, 6> ToolButtonPlaces { {
    { ToolButton::Save, 135 },
    { ToolButton::Print, 615 },
    { ToolButton::Copy, 1095 },
    { ToolButton::PageSetup, 1545 },
    { ToolButton::Preview, 2025 },
    { ToolButton::Help, 6720 },
} };

ToolIcon iconOf(ToolButton button)
{
    switch (button) {
    case ToolButton::Save:
        return ToolIcon::Save;
    case ToolButton::Print:
        return ToolIcon::Print;
    case ToolButton::Copy:
        return ToolIcon::Copy;
    case ToolButton::PageSetup:
        return ToolIcon::PageSetup;
    case ToolButton::Preview:
        return ToolIcon::Preview;
    case ToolButton::Help:
    case ToolButton::None:
        break;
    }
    return ToolIcon::Help;
}

// The printer's page size in twips, as the catalogue geometry needs it before any printing.
QSize printerPageTwips()
{
    QPrinter printer(QPrinter::HighResolution);
    const QRectF paper = printer.paperRect(QPrinter::Inch);
    return QSize(static_cast<int>(std::lround(paper.width() * 1440.0)),
                 static_cast<int>(std::lround(paper.height() * 1440.0)));
}

} // namespace

MainWindow::MainWindow(SettingsStore &store, Questions &questions, QWidget *parent)
    : QMainWindow(parent)
    , m_store(store)
    , m_questions(questions)
{
    setWindowTitle(QStringLiteral("Quillmark"));
    setWindowIcon(applicationIcon());
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
    m_writerHost = std::make_unique<WindowWriterHost>(*m_browser, [this] { setPreviewedState(); });

    m_exit = new QPushButton(QStringLiteral("&Exit"), m_client);
    m_exit->setGeometry(twipsRect(6720, 4110, 975, 375));
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);

    createToolTip();
    setTabChain();

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

    const std::array<QAction *, 6> actions { m_commands.save, m_commands.print,
                                             m_commands.copy, m_commands.preview,
                                             m_commands.help, m_commands.pageSetup };
    for (const ToolButtonPlace &place : ToolButtonPlaces) {
        auto *button = new QToolButton(m_toolBar);
        const int number = static_cast<int>(place.button);
        // The icon lives on the action: the button takes it from there on every change.
        actions[number - 1]->setIcon(toolIcon(iconOf(place.button)));
        button->setDefaultAction(actions[number - 1]);
        button->setIconSize(place.button == ToolButton::Preview ? QSize(16, 15) : QSize(16, 16));
        button->setGeometry(twipsRect(place.left, 60, 375, 375));
        button->setFocusPolicy(Qt::NoFocus);
        button->setMouseTracking(true);
        button->installEventFilter(this);
        button->setProperty("toolNumber", number);
        connect(button, &QToolButton::clicked, this, &MainWindow::hideToolTipPanel);
        m_buttons[number - 1] = button;
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
    m_toolTip->setGeometry(twipsRect(6840, 3720, 735, 255));
    m_toolTip->hide();

    m_toolTipTimer.setInterval(ToolTipLogic::IntervalMs);
    connect(&m_toolTipTimer, &QTimer::timeout, this, &MainWindow::showToolTip);
}

QToolButton *MainWindow::toolButton(ToolButton button) const
{
    const int number = static_cast<int>(button);
    return number >= 1 && number <= 6 ? m_buttons[number - 1] : nullptr;
}

void MainWindow::load()
{
    const StoredSettings stored = loadSettings(m_store, defaultFolder());
    m_state.catalogueColour = stored.colour;
    m_state.catalogueFont = stored.font;
    m_state.printSettings = stored.print;

    m_tipLogic.surfaceMoved();
    m_toolTip->hide();
    m_toolTipTimer.stop();

    m_state.previewReady = false;
    m_state.printMode = false;
    setListedState();

    m_state.catalogueFont.strikethru = false;
    m_state.catalogueFont.underline = false;
    m_state.printSelection = false;

    const QSize page = printerPageTwips();
    m_state.pageWidth = page.width();
    m_state.pageHeight = page.height();

    selectUnit(m_state.printSettings);

    m_browser->start(stored.folder);

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
    m_state.printMode = false;
    CatalogueWriter writer(m_state, m_browser->fileSource(), *m_preview, *m_writerHost);
    writer.writePreview(m_preview->picture());
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
            const auto number = static_cast<ToolButton>(button->property("toolNumber").toInt());
            if (m_tipLogic.buttonMoved(number))
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
