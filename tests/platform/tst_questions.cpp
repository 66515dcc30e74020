#include "platform/fontchooser.h"
#include "platform/helpwindow.h"
#include "platform/qtquestions.h"
#include "platform/safefileiconprovider.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <csignal>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace qm;
using namespace Qt::StringLiterals;

namespace {

// Runs \a act on the modal dialog once it is open.
void whenModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        if (QWidget *modal = QApplication::activeModalWidget())
            act(modal);
        else
            whenModal(act);
    });
}

// A dialog that reads a FIFO or /proc/kmsg blocks the only thread for good: the run ends
// with a message instead of waiting for the suite's time limit.
extern "C" void blocked(int)
{
    const char message[] = "FAIL: a file dialog blocks: it reads a file it must not open\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(1);
}

} // namespace

class tst_Questions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup()
    {
        while (QApplication::overrideCursor()) // a row that failed while it was busy
            QApplication::restoreOverrideCursor();
    }
    void questions_data();
    void questions();
    void saveDialogWantsExistingFolder();
    void fontChooserIsOneDialog_data();
    void fontChooserIsOneDialog();
    void helpWindow();
    void listsWithoutReading_data();
    void listsWithoutReading();

protected:
    // Every file dialog that shows: once it has listed the watched folder (typed its entries
    // and given them icons, which is when a FIFO or /proc/kmsg would be read), what it shows,
    // then closed.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QFileDialog *>(watched);
        auto *model = dialog ? dialog->findChild<QFileSystemModel *>() : nullptr;
        if (model && !m_watched.isEmpty() && event->type() == QEvent::Show) {
            // Before the dialog's event loop takes in what its listing found.
            connect(model, &QFileSystemModel::directoryLoaded, dialog,
                    [=, this](const QString &path) {
                        if (QDir(path) != QDir(m_watched))
                            return;
                        takeListing(model);
                        dialog->grab(); // paints the list as the user sees it, icons and all
                        QTimer::singleShot(0, dialog, &QDialog::reject);
                    });
        }
        return false;
    }

private:
    // What \a model lists in the watched folder, "name: type" each, "(no icon)" where it has
    // none, and whether its icons come from the provider that decides by name and kind.
    void takeListing(const QFileSystemModel *model)
    {
        const QModelIndex parent = model->index(m_watched);
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex name = model->index(row, 0, parent);
            const bool drawn = !model->data(name, Qt::DecorationRole).value<QIcon>().isNull();
            m_shown << name.data().toString() + u": "_s
                    + model->index(row, 2, parent).data().toString()
                    + (drawn ? QString() : u" (no icon)"_s);
        }
        m_safe = dynamic_cast<const SafeFileIconProvider *>(model->iconProvider()) != nullptr;
    }

    QTemporaryDir m_folder; // a FIFO, links to a FIFO and a device, a plain file
    QString m_watched;
    QStringList m_shown;
    bool m_safe = false;
};

void tst_Questions::questions_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("answer");
    const int escape = Qt::Key_Escape;
    QTest::newRow("yes/no: Enter is Yes") << u"yes/no"_s << int(Qt::Key_Return) << u"Yes"_s;
    QTest::newRow("yes/no: Escape means No") << u"yes/no"_s << escape << u"No"_s;
    QTest::newRow("header box: OK returns the text")
        << u"text"_s << int(Qt::Key_Return) << u"Trip"_s;
    QTest::newRow("message") << u"message"_s << escape << QString();
    QTest::newRow("save dialog") << u"save"_s << escape << QString();
    QTest::newRow("font chooser") << u"font"_s << escape << QString();
    QTest::newRow("print dialog") << u"print"_s << escape << QString();
}

void tst_Questions::questions()
{
    QFETCH(QString, question);
    QFETCH(int, key);
    QtQuestions questions(nullptr);
    QApplication::setOverrideCursor(Qt::WaitCursor); // a long command is running
    std::optional<Qt::CursorShape> whileAsked;
    QPoint placed;
    int width = 0; // of a message box
    QFont font;
    whenModal([&](QWidget *modal) {
        if (const QCursor *pointer = QApplication::overrideCursor())
            whileAsked = pointer->shape();
        if (auto *dialog = qobject_cast<QInputDialog *>(modal)) {
            placed = dialog->pos();
            dialog->setTextValue(u"Trip"_s);
        }
        if (qobject_cast<QMessageBox *>(modal)) {
            width = modal->width();
            font = modal->font();
        }
        QTest::keyClick(modal, Qt::Key(key));
    });
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFileName(dir.filePath(u"out.pdf"_s));
    QString answer;
    if (question == u"text") {
        answer = questions.askText(u"Header"_s, u"Enter"_s, u"/home/me/"_s, QPoint(2000, 1000));
        QCOMPARE(placed,
                 QGuiApplication::primaryScreen()->geometry().topLeft()
                     + QPoint(twipsToPixels(2000), twipsToPixels(1000)));
    } else if (question == u"yes/no") {
        answer = questions.askYesNo(u"Quillmark Save"_s, u"Save?"_s) ? u"Yes"_s : u"No"_s;
    } else if (question == u"message") {
        questions.showMessage(u"Quillmark Save"_s, u"Not saved."_s);
    } else if (question == u"save") {
        QCOMPARE(questions.askSaveFileName(u"Save Quillmark"_s, u"Text(*.txt)"_s,
                                           dir.filePath(u"a.txt"_s), nullptr),
                 std::nullopt);
    } else if (question == u"font") {
        QCOMPARE(questions.askFont({ u"Liberation Sans"_s, 10 }), std::nullopt);
    } else {
        QVERIFY(!questions.askPrint(&printer, false, nullptr));
    }
    QTEST(answer, "answer");
    // Normal while the user is to act, busy again when the command goes on.
    QCOMPARE(whileAsked, std::optional(Qt::ArrowCursor));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    if (width == 0)
        return;
    // Wide enough for its title set in bold beside a title bar's icon and three buttons, with
    // room to spare: a box sized for "Save?" alone shows "Quill... Save" under openbox.
    font.setBold(true);
    const QFontMetrics title(font);
    QVERIFY2(width >= title.horizontalAdvance(u"Quillmark Save"_s) + 8 * title.height(),
             qPrintable(QString::number(width)));
}

void tst_Questions::saveDialogWantsExistingFolder()
{
    QTemporaryDir dir;
    const QString good = dir.filePath(u"catalogue.txt"_s);
    QtQuestions questions(nullptr);
    bool refused = false;
    // A name in a folder that does not exist is refused with a message, then asked again.
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        dialog->selectFile(dir.filePath(u"gone/catalogue.txt"_s));
        static_cast<QDialog *>(dialog)->accept();
        whenModal([&](QWidget *message) {
            refused = qobject_cast<QMessageBox *>(message);
            qobject_cast<QDialog *>(message)->accept();
            whenModal([&](QWidget *again) {
                qobject_cast<QFileDialog *>(again)->selectFile(good);
                static_cast<QDialog *>(again)->accept();
            });
        });
    });
    QCOMPARE(questions.askSaveFileName(u"Save Quillmark"_s, u"Text(*.txt)"_s, {}, nullptr),
             std::optional<QString>(good));
    QVERIFY(refused);
}

void tst_Questions::fontChooserIsOneDialog_data()
{
    QTest::addColumn<int>("place"); // faces, styles, sizes, size box, Underline, Colour...
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed"); // into the size box first
    QTest::newRow("Enter in the list of faces") << 0 << int(Qt::Key_Return) << QString();
    QTest::newRow("Enter in the list of styles") << 1 << int(Qt::Key_Return) << QString();
    QTest::newRow("Enter in the list of sizes") << 2 << int(Qt::Key_Enter) << QString();
    QTest::newRow("Enter in the size box, a size typed") << 3 << int(Qt::Key_Return) << u"17"_s;
    QTest::newRow("Enter on a check box") << 4 << int(Qt::Key_Return) << QString();
    QTest::newRow("Enter on Colour...") << 5 << int(Qt::Key_Return) << QString();
    QTest::newRow("Escape in the list of faces") << 0 << int(Qt::Key_Escape) << QString();
}

void tst_Questions::fontChooserIsOneDialog()
{
    QFETCH(int, place);
    QFETCH(int, key);
    QFETCH(QString, typed);
    QDialog owner; // Page Setup, say, in the middle of the screen
    owner.resize(260, 170);
    owner.move(owner.screen()->availableGeometry().center() - owner.rect().center());
    owner.show();
    FontChooser chooser(&owner);
    // A stored face the system lacks is kept as it is, and so is a stored system colour.
    const FontChoice lacking { u"Quillmark No Such Face"_s, 14, true, false, true, true, 0 };
    chooser.setChoice(lacking);
    QCOMPARE(chooser.choice(), lacking);
    FontChoice chosen { u"Liberation Sans"_s, 14, true, false, true, true, qint32(0x80000008) };
    chooser.setChoice(chosen);
    QCOMPARE(chooser.choice(), chosen);
    auto *panel = chooser.findChild<QFontDialog *>();
    QList<QWidget *> places;
    for (QListView *list : panel->findChildren<QListView *>(Qt::FindDirectChildrenOnly))
        places << list; // faces, styles, sizes
    for (QLineEdit *edit : panel->findChildren<QLineEdit *>(Qt::FindDirectChildrenOnly))
        if (!edit->isReadOnly())
            places << edit; // the size box
    places << panel->findChildren<QCheckBox *>().value(1)
           << chooser.findChild<QPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(places.size(), 6);

    QWidget *focused = nullptr;
    QPoint offCentre;
    bool stillOpen = false; // the key did not end the chooser
    whenModal([&](QWidget *modal) {
        focused = modal->focusWidget();
        offCentre = modal->geometry().center() - owner.frameGeometry().center();
        if (!typed.isEmpty()) {
            places[3]->setFocus();
            static_cast<QLineEdit *>(places[3])->selectAll();
            QTest::keyClicks(places[3], typed);
        }
        places[place]->setFocus();
        // A colour picker opened by the key would wait here: it is closed.
        QTimer::singleShot(0, &chooser, [] {
            if (auto *picker = qobject_cast<QColorDialog *>(QApplication::activeModalWidget()))
                picker->reject();
        });
        QTest::keyClick(places[place], Qt::Key(key));
        stillOpen = chooser.isVisible();
        if (stillOpen)
            chooser.reject();
    });
    const bool accepted = chooser.exec() == QDialog::Accepted;
    QVERIFY(!stillOpen);
    QCOMPARE(accepted, key != Qt::Key_Escape);
    QCOMPARE(focused, places[0]); // the list of faces
    QVERIFY2(std::abs(offCentre.x()) <= 2 && std::abs(offCentre.y()) <= 2,
             qPrintable(u"%1,%2"_s.arg(offCentre.x()).arg(offCentre.y())));
    QVERIFY(!panel->isHidden());
    chosen.size = typed.isEmpty() ? chosen.size : typed.toDouble();
    if (accepted)
        QCOMPARE(chooser.choice(), chosen);
}

void tst_Questions::helpWindow()
{
    QtQuestions questions(nullptr);
    questions.showHelp();
    const QPointer<HelpWindow> help = questions.helpWindow();
    QVERIFY(help && help->isVisible());
    QScrollBar *scroll = help->browser()->verticalScrollBar();
    help->browser()->scrollToAnchor(u"settings"_s);
    QVERIFY(scroll->value() > 0);
    questions.showHelp(); // the same window, back at its contents
    QCOMPARE(questions.helpWindow(), help.data());
    QCOMPARE(scroll->value(), 0);
    questions.closeHelp();
    QVERIFY(!help);
}

void tst_Questions::initTestCase()
{
    QVERIFY(m_folder.isValid());
    const QByteArray folder = QFile::encodeName(m_folder.path());
    QCOMPARE(::mkfifo(folder + "/fifo", 0644), 0);
    QVERIFY(QFile::link(m_folder.filePath(u"fifo"_s), m_folder.filePath(u"fifo-link"_s)));
    QVERIFY(QFile::link(u"/dev/zero"_s, m_folder.filePath(u"device-link"_s)));
    QFile notes(m_folder.filePath(u"notes.txt"_s));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    std::signal(SIGALRM, blocked);
    qApp->installEventFilter(this);
}

void tst_Questions::listsWithoutReading_data()
{
    QTest::addColumn<QString>("dialog"); // save, the print dialog's "..." or its completion
    QTest::addColumn<QString>("folder"); // empty: a folder with a FIFO and links
    QTest::addColumn<QString>("file"); // offered
    QTest::addColumn<QStringList>("shows"); // entries listed, and their types
    // FIFOs, sockets and devices are left out unless offered, but typed all the same. As
    // root, reading /proc/kmsg waits for the kernel's next message.
    const QStringList typed { u"fifo: pipe"_s, u"notes.txt: plain text"_s };
    QTest::newRow("save, a FIFO offered") << u"save"_s << QString() << u"fifo"_s << typed;
    QTest::newRow("save into /proc") << u"save"_s << u"/proc"_s << u"a.txt"_s << QStringList();
    QTest::newRow("print's chooser, a FIFO offered")
        << u"print"_s << QString() << u"fifo"_s << typed;
    QTest::newRow("print's chooser in /proc")
        << u"print"_s << u"/proc"_s << u"a.pdf"_s << QStringList { u"kmsg: "_s };
    QTest::newRow("print's file name completed in /proc")
        << u"complete"_s << u"/proc"_s << u"a.pdf"_s << QStringList { u"kmsg: "_s };
}

void tst_Questions::listsWithoutReading()
{
    QFETCH(QString, dialog);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QStringList, shows);
    m_watched = folder.isEmpty() ? m_folder.path() : folder;
    folder = m_watched;
    m_shown.clear();
    m_safe = false;
    QtQuestions questions(nullptr);
    ::alarm(20);
    if (dialog == u"save") {
        QCOMPARE(questions.askSaveFileName(u"Save Quillmark"_s, u"Text(*.txt)"_s,
                                           QDir(folder).filePath(file), nullptr),
                 std::nullopt);
    } else {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(folder).filePath(file));
        QTimer::singleShot(0, qApp, [&] {
            auto *print = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(print);
            if (dialog == u"print") { // Qt's own chooser, a static call inside the dialog
                print->findChild<QToolButton *>(u"fileBrowser"_s)->click();
            } else { // what typing a folder into "Output file" does
                auto *model = qobject_cast<QFileSystemModel *>(
                    print->findChild<QLineEdit *>(u"filename"_s)->completer()->model());
                bool loaded = false;
                connect(model, &QFileSystemModel::directoryLoaded, print, [&](const QString &path) {
                    loaded = loaded || QDir(path) == QDir(folder);
                });
                model->setRootPath(folder);
                QTRY_VERIFY_WITH_TIMEOUT(loaded, 10000);
                takeListing(model);
            }
            print->reject();
        });
        QVERIFY(!questions.askPrint(&printer, false, nullptr));
    }
    ::alarm(0);
    m_watched.clear();
    QVERIFY(m_safe);
    const QString shown = m_shown.join(u" | "_s);
    QVERIFY2(!shown.contains(u"(no icon)"_s), qPrintable(shown));
    for (const QString &entry : shows)
        QVERIFY2(shown.contains(entry, Qt::CaseInsensitive), qPrintable(shown));
}

QTEST_MAIN(tst_Questions)
#include "tst_questions.moc"
