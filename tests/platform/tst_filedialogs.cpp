#include "platform/qtquestions.h"
#include "platform/safefileiconprovider.h"

#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIcon>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;

namespace {

// A dialog that reads a FIFO or /proc/kmsg blocks the test's only thread for good: this
// ends the run with a message instead of leaving it to the suite's time limit.
class HangFence
{
public:
    explicit HangFence(const QString &what, std::chrono::seconds limit = std::chrono::seconds(20))
        : m_what(what.toStdString())
        , m_thread([this, limit] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                std::fprintf(stderr, "FAIL: %s did not return: it blocks\n", m_what.c_str());
                std::_Exit(1);
            }
        })
    {
    }
    HangFence(const HangFence &) = delete;
    HangFence &operator=(const HangFence &) = delete;
    ~HangFence()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::string m_what;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

// Watches every file dialog that shows: once one has listed the folder (its entries typed
// and given icons, which is when a FIFO or /proc/kmsg would be read), writes down what it
// shows and closes it.
class ListingWatcher : public QObject
{
public:
    explicit ListingWatcher(const QString &folder)
        : m_folder(folder)
    {
        qApp->installEventFilter(this);
    }

    QStringList shown;
    bool listed = false;
    bool safe = false; // the dialog had the provider that decides by name and kind

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QFileDialog *>(watched);
        if (!dialog || event->type() != QEvent::Show)
            return false;
        // Connected before the dialog's event loop takes in what its listing found.
        auto *model = dialog->findChild<QFileSystemModel *>();
        if (model)
            connect(model, &QFileSystemModel::directoryLoaded, dialog,
                    [this, dialog, model](const QString &path) {
                        if (QDir(path) == QDir(m_folder))
                            QTimer::singleShot(0, dialog,
                                               [this, dialog, model] { report(dialog, model); });
                    });
        return false;
    }

private:
    void report(QFileDialog *dialog, QFileSystemModel *model)
    {
        listed = true;
        safe = dynamic_cast<const SafeFileIconProvider *>(dialog->iconProvider()) != nullptr;
        const QModelIndex parent = model->index(m_folder);
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex name = model->index(row, 0, parent);
            const bool drawn = !model->data(name, Qt::DecorationRole).value<QIcon>().isNull();
            shown << name.data().toString() + u": "_s
                    + model->index(row, 2, parent).data().toString()
                    + (drawn ? QString() : u" (no icon)"_s);
        }
        dialog->grab(); // paints the list as the user sees it, icons and all
        dialog->reject();
    }

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
    void printDialogCompletesWithoutReading_data();
    void printDialogCompletesWithoutReading();

private:
    QTemporaryDir m_folder;
};

void tst_FileDialogs::initTestCase()
{
    QVERIFY(m_folder.isValid());
    const QByteArray folder = QFile::encodeName(m_folder.path());
    QCOMPARE(::mkfifo(folder + "/fifo", 0644), 0);
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = folder + "/socket";
    QVERIFY(size_t(socketPath.size()) < sizeof(address.sun_path));
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    QCOMPARE(::bind(listening, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(listening);
    QVERIFY(QFile::link(m_folder.filePath(u"fifo"_s), m_folder.filePath(u"fifo-link"_s)));
    QVERIFY(QFile::link(u"/dev/zero"_s, m_folder.filePath(u"device-link"_s)));
    QFile notes(m_folder.filePath(u"notes.txt"_s));
    QVERIFY(notes.open(QIODevice::WriteOnly));
}

void tst_FileDialogs::listsWithoutReading_data()
{
    QTest::addColumn<QString>("dialog"); // save, or the print dialog's "..." chooser
    QTest::addColumn<QString>("filter"); // of the save dialog
    QTest::addColumn<QString>("folder"); // empty: the scratch folder
    QTest::addColumn<QString>("file"); // offered
    QTest::addColumn<QString>("shows"); // an entry listed, and its type
    const QString text = u"Text(*.txt)"_s;
    const QString all = u"Anything(*)"_s;
    // The dialogs leave out FIFOs, sockets and devices unless one is the name offered, but
    // they type and give icons to all they list.
    QTest::newRow("save: a folder with a FIFO, a socket and links to them")
        << u"save"_s << text << QString() << u"catalogue.txt"_s << u"notes.txt: plain text"_s;
    QTest::newRow("save: the name offered is a FIFO")
        << u"save"_s << all << QString() << u"fifo"_s << u"fifo: pipe"_s;
    QTest::newRow("save: after a save into /proc, whose kmsg blocks a reader")
        << u"save"_s << text << u"/proc"_s << u"catalogue.txt"_s << QString();
    QTest::newRow("save, every name shown: /proc/kmsg listed unread")
        << u"save"_s << all << u"/proc"_s << u"catalogue.txt"_s << u"kmsg: "_s;
    QTest::newRow("print to file chooser: a folder with a FIFO")
        << u"print"_s << QString() << QString() << u"catalogue.pdf"_s << u"notes.txt: plain text"_s;
    QTest::newRow("print to file chooser: the file offered is a FIFO")
        << u"print"_s << QString() << QString() << u"fifo"_s << u"fifo: pipe"_s;
    QTest::newRow("print to file chooser: /proc")
        << u"print"_s << QString() << u"/proc"_s << u"catalogue.pdf"_s << u"kmsg: "_s;
}

void tst_FileDialogs::listsWithoutReading()
{
    QFETCH(QString, dialog);
    QFETCH(QString, filter);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, shows);
    if (folder.isEmpty())
        folder = m_folder.path();
    const QString offered = QDir(folder).filePath(file);
    QtQuestions questions(nullptr);
    ListingWatcher watcher(folder);
    const HangFence fence(QString::fromLatin1(QTest::currentDataTag()));
    QElapsedTimer opened;
    opened.start();
    if (dialog == u"save") {
        QCOMPARE(questions.askSaveFileName(u"Save Quillmark"_s, filter, offered, nullptr),
                 std::nullopt);
    } else {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(offered);
        QTimer::singleShot(0, qApp, [] {
            QWidget *print = QApplication::activeModalWidget();
            QVERIFY(print);
            // Qt's own chooser behind "...", opened by a static call inside the print dialog.
            auto *browse = print->findChild<QToolButton *>(u"fileBrowser"_s);
            QVERIFY(browse);
            browse->click();
            qobject_cast<QDialog *>(print)->reject();
        });
        QVERIFY(!questions.askPrint(&printer, false, nullptr));
    }
    QVERIFY(watcher.listed);
    qInfo("listed and closed in %lld ms", opened.elapsed());
    QVERIFY(watcher.safe);
    // Listed, typed by name and kind and drawn with an icon: nothing was read.
    const QString listing = watcher.shown.join(u" | "_s);
    QVERIFY2(!listing.contains(u"(no icon)"_s), qPrintable(listing));
    if (!shows.isEmpty()) {
        const QString name = shows.section(u": "_s, 0, 0) + u": "_s;
        const QStringList entry = watcher.shown.filter(name);
        QVERIFY2(entry.size() == 1 && entry.first().startsWith(name), qPrintable(listing));
        QVERIFY2(entry.first().contains(shows.section(u": "_s, 1), Qt::CaseInsensitive),
                 qPrintable(listing));
    }
}

void tst_FileDialogs::printDialogCompletesWithoutReading_data()
{
    QTest::addColumn<QString>("folder"); // typed into "Output file"; empty: the scratch folder
    QTest::addColumn<QString>("shows"); // an entry it offers, and its type
    QTest::newRow("a folder with a FIFO") << QString() << u"notes.txt: plain text"_s;
    QTest::newRow("/proc, whose kmsg blocks a reader") << u"/proc"_s << u"kmsg: "_s;
}

void tst_FileDialogs::printDialogCompletesWithoutReading()
{
    QFETCH(QString, folder);
    QFETCH(QString, shows);
    if (folder.isEmpty())
        folder = m_folder.path();
    QtQuestions questions(nullptr);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_folder.filePath(u"catalogue.pdf"_s));
    const HangFence fence(QString::fromLatin1(QTest::currentDataTag()));
    QStringList offered;
    bool safe = false;
    QTimer::singleShot(0, qApp, [&] {
        auto *print = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(print);
        const auto close = qScopeGuard([print] { print->reject(); });
        auto *name = print->findChild<QLineEdit *>(u"filename"_s);
        QVERIFY(name && name->completer());
        auto *model = qobject_cast<QFileSystemModel *>(name->completer()->model());
        QVERIFY(model);
        safe = dynamic_cast<const SafeFileIconProvider *>(model->iconProvider()) != nullptr;
        bool loaded = false;
        connect(model, &QFileSystemModel::directoryLoaded, print,
                [&](const QString &path) { loaded = loaded || QDir(path) == QDir(folder); });
        // What the field does when a path is typed into it: the folder is listed.
        model->setRootPath(folder);
        QTRY_VERIFY_WITH_TIMEOUT(loaded, 10000);
        QCoreApplication::processEvents();
        const QModelIndex parent = model->index(folder);
        for (int row = 0; row < model->rowCount(parent); ++row)
            offered << model->index(row, 0, parent).data().toString() + u": "_s
                    + model->index(row, 2, parent).data().toString();
    });
    QVERIFY(!questions.askPrint(&printer, false, nullptr));
    QVERIFY(safe);
    const QString name = shows.section(u": "_s, 0, 0) + u": "_s;
    const QStringList entry = offered.filter(name);
    QVERIFY2(entry.size() == 1 && entry.first().startsWith(name)
                 && entry.first().contains(shows.section(u": "_s, 1), Qt::CaseInsensitive),
             qPrintable(offered.join(u" | "_s)));
}

QTEST_MAIN(tst_FileDialogs)
#include "tst_filedialogs.moc"
