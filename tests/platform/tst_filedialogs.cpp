#include "platform/qtquestions.h"
#include "platform/safefileiconprovider.h"

#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;

namespace {

// A dialog that reads a FIFO or /proc/kmsg blocks the only thread for good: the run ends
// with a message instead of waiting for the suite's time limit.
extern "C" void blocked(int)
{
    const char message[] = "FAIL: a file dialog blocks: it reads a file it must not open\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(1);
}

// What \a model lists in \a folder, "name: type" each, with "(no icon)" where it has none.
QStringList listing(const QFileSystemModel *model, const QString &folder)
{
    QStringList shown;
    const QModelIndex parent = model->index(folder);
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex name = model->index(row, 0, parent);
        const bool drawn = !model->data(name, Qt::DecorationRole).value<QIcon>().isNull();
        shown << name.data().toString() + u": "_s + model->index(row, 2, parent).data().toString()
                + (drawn ? QString() : u" (no icon)"_s);
    }
    return shown;
}

// Every file dialog that shows: once it has listed the folder (typed its entries and given
// them icons, which is when a FIFO or /proc/kmsg would be read), what it shows, then closed.
class ListingWatcher : public QObject
{
public:
    explicit ListingWatcher(const QString &folder)
        : m_folder(folder)
    {
        qApp->installEventFilter(this);
    }

    QStringList shown;
    bool safe = false; // the provider decides by name and kind

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QFileDialog *>(watched);
        auto *model = dialog ? dialog->findChild<QFileSystemModel *>() : nullptr;
        if (!model || event->type() != QEvent::Show)
            return false;
        // Before the dialog's event loop takes in what its listing found.
        connect(model, &QFileSystemModel::directoryLoaded, dialog, [=, this](const QString &path) {
            if (QDir(path) != QDir(m_folder))
                return;
            shown = listing(model, m_folder);
            safe = dynamic_cast<const SafeFileIconProvider *>(model->iconProvider()) != nullptr;
            dialog->grab(); // paints the list as the user sees it, icons and all
            QTimer::singleShot(0, dialog, &QDialog::reject);
        });
        return false;
    }

private:
    QString m_folder;
};

} // namespace

class tst_FileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsWithoutReading_data();
    void listsWithoutReading();

private:
    QTemporaryDir m_folder;
};

void tst_FileDialogs::initTestCase()
{
    QVERIFY(m_folder.isValid());
    const QByteArray folder = QFile::encodeName(m_folder.path());
    QCOMPARE(::mkfifo(folder + "/fifo", 0644), 0);
    QVERIFY(QFile::link(m_folder.filePath(u"fifo"_s), m_folder.filePath(u"fifo-link"_s)));
    QVERIFY(QFile::link(u"/dev/zero"_s, m_folder.filePath(u"device-link"_s)));
    QFile notes(m_folder.filePath(u"notes.txt"_s));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    std::signal(SIGALRM, blocked);
}

void tst_FileDialogs::listsWithoutReading_data()
{
    QTest::addColumn<QString>("dialog"); // save, the print dialog's "..." or its completion
    QTest::addColumn<QString>("folder"); // empty: a folder with a FIFO and links
    QTest::addColumn<QString>("file"); // offered
    QTest::addColumn<QString>("shows"); // an entry listed, and its type
    // FIFOs, sockets and devices are left out unless offered, but typed all the same. As
    // root, reading /proc/kmsg waits for the kernel's next message.
    QTest::newRow("save") << u"save"_s << QString() << u"a.txt"_s << u"notes.txt: plain text"_s;
    QTest::newRow("save, a FIFO offered") << u"save"_s << QString() << u"fifo"_s << u"fifo: pipe"_s;
    QTest::newRow("save into /proc") << u"save"_s << u"/proc"_s << u"a.txt"_s << QString();
    QTest::newRow("print's chooser")
        << u"print"_s << QString() << u"a.pdf"_s << u"notes.txt: plain text"_s;
    QTest::newRow("print's chooser, a FIFO offered")
        << u"print"_s << QString() << u"fifo"_s << u"fifo: pipe"_s;
    QTest::newRow("print's chooser in /proc")
        << u"print"_s << u"/proc"_s << u"a.pdf"_s << u"kmsg: "_s;
    QTest::newRow("print's file name completed in /proc")
        << u"complete"_s << u"/proc"_s << u"a.pdf"_s << u"kmsg: "_s;
}

void tst_FileDialogs::listsWithoutReading()
{
    QFETCH(QString, dialog);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, shows);
    if (folder.isEmpty())
        folder = m_folder.path();
    QtQuestions questions(nullptr);
    ListingWatcher watcher(folder);
    QElapsedTimer opened;
    opened.start();
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
                watcher.shown = listing(model, folder);
                watcher.safe = dynamic_cast<const SafeFileIconProvider *>(model->iconProvider());
            }
            print->reject();
        });
        QVERIFY(!questions.askPrint(&printer, false, nullptr));
    }
    ::alarm(0);
    qInfo("listed and closed in %lld ms", opened.elapsed());
    QVERIFY(watcher.safe);
    const QString shown = watcher.shown.join(u" | "_s);
    QVERIFY2(!shown.contains(u"(no icon)"_s), qPrintable(shown));
    const QString name = shows.section(u": "_s, 0, 0);
    const QStringList entry = watcher.shown.filter(QRegularExpression(u'^' + name + u": "_s));
    QVERIFY2(shows.isEmpty()
                 || (entry.size() == 1
                     && entry.first().contains(shows.section(u": "_s, 1), Qt::CaseInsensitive)),
             qPrintable(shown));
}

QTEST_MAIN(tst_FileDialogs)
#include "tst_filedialogs.moc"
