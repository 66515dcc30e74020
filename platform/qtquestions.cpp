#include "platform/qtquestions.h"

#include "platform/fontchooser.h"
#include "platform/helpwindow.h"
#include "platform/outputfile.h"
#include "platform/safefileiconprovider.h"
#include "platform/twips.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>

namespace qm {

namespace {

// The standard dialog with no page range to choose: the catalogue prints whole or its
// selection. With a print server Qt offers ranges even when told not to, since the server
// could pick the pages itself; the choice is taken away once the dialog has laid itself out.
class CataloguePrintDialog : public QPrintDialog
{
public:
    using QPrintDialog::QPrintDialog;

    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        if (!visible)
            return;
        for (const char *name :
             { "printRange", "from", "to", "pagesRadioButton", "pagesLineEdit" }) {
            if (QWidget *widget = findChild<QWidget *>(QLatin1String(name)))
                widget->hide();
        }
        // The "to" between the page numbers.
        if (QWidget *range = findChild<QWidget *>(QStringLiteral("gbPrintRange"))) {
            for (QLabel *label : range->findChildren<QLabel *>()) {
                if (label->objectName() != u"pageSetLabel")
                    label->hide();
            }
        }
        guardOutputFile();
    }

private:
    // The dialog's own check of the output file opens it, which waits for a reader when the
    // name is a FIFO and freezes the window: a name that holds no regular file is turned down
    // before that check runs, and the dialog stays open for another.
    void guardOutputFile()
    {
        auto *buttons = findChild<QDialogButtonBox *>();
        if (!buttons || m_guarded)
            return;
        m_guarded = true;
        disconnect(buttons, &QDialogButtonBox::accepted, this, nullptr);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            const auto *file = findChild<QLineEdit *>(QStringLiteral("filename"));
            if (file && file->isEnabled()) {
                if (const std::optional<QString> refused = outputRefusal(file->text())) {
                    QMessageBox::warning(
                        this, windowTitle(),
                        QStringLiteral("%1\n\n%2\nPlease choose a different "
                                       "file name.")
                            .arg(QDir::toNativeSeparators(file->text()), *refused));
                    return;
                }
            }
            // Qt's own checks of the dialog's fields; a Qt without them still takes the OK.
            if (!QMetaObject::invokeMethod(this, "_q_checkFields"))
                accept();
        });
    }

    bool m_guarded = false;
};

// The normal pointer for as long as a question waits for its answer, also when it is asked
// in the middle of a long command (the print's header box): the hourglass would say that
// the program is busy while it is the user who is to act.
class ReadyPointer
{
public:
    ReadyPointer()
        : m_pushed(QApplication::overrideCursor() != nullptr)
    {
        if (m_pushed)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ReadyPointer(const ReadyPointer &) = delete;
    ReadyPointer &operator=(const ReadyPointer &) = delete;
    ~ReadyPointer()
    {
        if (m_pushed)
            QApplication::restoreOverrideCursor();
    }

private:
    bool m_pushed;
};

// Window managers set a box's title in bold, beside an icon and three buttons about as wide
// as the title is tall. A box as narrow as a short text ("Save Selection Only?") shows its
// title cut short, so it is made wide enough for that much.
constexpr int TitleBarExtraLines = 8;

void makeRoomForTitle(QMessageBox &box)
{
    QFont font = box.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int room
        = metrics.horizontalAdvance(box.windowTitle()) + TitleBarExtraLines * metrics.height();
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

QtQuestions::QtQuestions(QWidget *parent)
    : m_parent(parent)
{
    // The save dialog, and the chooser that the print dialog opens by itself, must never read
    // a FIFO or a /proc file to pick an icon.
    guardFileDialogs();
}

QtQuestions::~QtQuestions()
{
    closeHelp();
}

void QtQuestions::setParentWindow(QWidget *parent)
{
    m_parent = parent;
}

bool QtQuestions::askYesNo(const QString &title, const QString &text)
{
    const ReadyPointer ready;
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    makeRoomForTitle(box);
    return box.exec() == QMessageBox::Yes;
}

QString QtQuestions::askText(const QString &title, const QString &prompt,
                             const QString &defaultText, QPoint screenTwips)
{
    const ReadyPointer ready;
    QInputDialog dialog(m_parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);

    QPoint origin;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        origin = screen->geometry().topLeft();
    dialog.move(origin + QPoint(twipsToPixels(screenTwips.x()), twipsToPixels(screenTwips.y())));

    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

std::optional<QString> QtQuestions::askSaveFileName(const QString &title, const QString &filter,
                                                    const QString &suggested, QString *chosenFilter)
{
    const ReadyPointer ready;
    QFileDialog dialog(m_parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    if (!suggested.isEmpty()) {
        const QFileInfo info(suggested);
        if (info.isAbsolute() && info.dir().exists())
            dialog.setDirectory(info.dir());
        dialog.selectFile(info.fileName());
    }

    // Only a file in a folder that exists is accepted; anything else asks again.
    while (dialog.exec() == QDialog::Accepted) {
        const QString fileName = dialog.selectedFiles().value(0);
        if (fileName.isEmpty())
            return std::nullopt;
        const QFileInfo info(fileName);
        if (info.isDir()) {
            dialog.setDirectory(fileName); // a folder was chosen: look inside it
            continue;
        }
        if (info.dir().exists()) {
            if (chosenFilter)
                *chosenFilter = dialog.selectedNameFilter();
            return fileName;
        }
        QMessageBox::warning(&dialog, title,
                             QStringLiteral("The folder %1 does not exist.\nPlease choose a folder "
                                            "that exists.")
                                 .arg(QDir::toNativeSeparators(info.absolutePath())));
    }
    return std::nullopt;
}

std::optional<FontChoice> QtQuestions::askFont(const FontChoice &initial)
{
    const ReadyPointer ready;
    // Asked from a dialog (Page Setup), the chooser belongs above that dialog.
    QWidget *owner = QApplication::activeModalWidget();
    FontChooser chooser(owner ? owner : m_parent.data());
    chooser.setChoice(initial);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.choice();
}

bool QtQuestions::askPrint(QPrinter *printer, bool selectionAvailable, bool *selectionChosen)
{
    const ReadyPointer ready;
    if (selectionChosen)
        *selectionChosen = false;
    if (!printer)
        return false;

    CataloguePrintDialog dialog(printer, m_parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionAvailable);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // A machine without a printer prints to a PDF file.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setPrintRange(selectionAvailable ? QAbstractPrintDialog::Selection
                                            : QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printer->setPageRanges(QPageRanges()); // a print server must not drop pages either
    if (selectionChosen)
        *selectionChosen
            = selectionAvailable && dialog.printRange() == QAbstractPrintDialog::Selection;
    return true;
}

void QtQuestions::showMessage(const QString &title, const QString &text)
{
    const ReadyPointer ready;
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, m_parent);
    makeRoomForTitle(box);
    box.exec();
}

void QtQuestions::showHelp()
{
    if (!m_help)
        m_help = new HelpWindow;
    m_help->showContents();
}

void QtQuestions::closeHelp()
{
    delete m_help.data();
}

HelpWindow *QtQuestions::helpWindow() const
{
    return m_help.data();
}

} // namespace qm
