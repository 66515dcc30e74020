// Save and Print to a PDF file through the real window, where the output cannot be written:
// each says why in one message, leaves the earlier file byte for byte, and never blocks.
#include "browse/folderbrowserview.h"
#include "browse/statusstrip.h"
#include "support/scratchfolder.h"
#include "support/watchdog.h"
#include "windowfixture.h"

#include <QDir>
#include <QPrinter>

#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

const QByteArray Earlier = "the earlier catalogue\n";

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

bool writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

mode_t kindOf(const QByteArray &path)
{
    struct stat info
    {
    };
    return ::lstat(path.constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// A file system that fills up part-way: a 64 KiB tmpfs where the test may mount one, else a
// limit on the size of any file this process writes.
class SmallDisk
{
public:
    explicit SmallDisk(const QByteArray &folder)
        : m_folder(folder)
    {
        m_mounted = ::mkdir(folder.constData(), 0777) == 0
            && ::mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
        if (!m_mounted) {
            qInfo("No 64 KiB tmpfs could be mounted (%s): a limit of 64 KiB on the size of the "
                  "files this process writes stands in for the full disk.",
                  qPrintable(qt_error_string(errno)));
        }
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

    // While it lives, files grow to 64 KiB at most (unless the tmpfs does that already).
    class Limit
    {
    public:
        explicit Limit(bool on)
            : m_on(on)
        {
            if (!m_on)
                return;
            ::getrlimit(RLIMIT_FSIZE, &m_old);
            const rlimit limit { 64 * 1024, m_old.rlim_max };
            m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ~Limit()
        {
            if (!m_on)
                return;
            ::setrlimit(RLIMIT_FSIZE, &m_old);
            std::signal(SIGXFSZ, m_oldHandler);
        }

    private:
        bool m_on;
        rlimit m_old {};
        void (*m_oldHandler)(int) = nullptr;
    };

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

} // namespace

class tst_OutputFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void outputThatCannotBeWritten_data();
    void outputThatCannotBeWritten();

private:
    WindowFixture w;
};

void tst_OutputFailures::initTestCase()
{
    w.pin();
}

void tst_OutputFailures::init()
{
    // Enough lines for a catalogue file and a PDF of more than 64 KiB each.
    w.newFolder();
    const QByteArray folder = QFile::encodeName(w.folder->path());
    for (int i = 0; i < 3000; ++i) {
        const QByteArray name = folder + "/file" + QByteArray::number(i).rightJustified(4, '0');
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0 && ::write(fd, "0123456789", 10) == 10);
        ::close(fd);
    }
    w.start();
    w.window->preview();
}

void tst_OutputFailures::cleanup()
{
    QCOMPARE(w.questions->unusedAnswers(), 0);
    w.finish();
}

void tst_OutputFailures::outputThatCannotBeWritten_data()
{
    QTest::addColumn<bool>("pdf"); // or Save
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("why"); // in the one message; empty: written, no message
    const QString full = u"No space left on device"_s;
    const QString fifo = u"It is a named pipe (FIFO), not a regular file."_s;
    const QString device = u"It is a character device, not a regular file."_s;
    const QString folder = u"It is a folder, not a file."_s;
    for (const bool pdf : { false, true }) {
        const char *output = pdf ? "print to file" : "save";
        QTest::addRow("%s: disk fills up part-way", output) << pdf << u"full"_s << full;
        QTest::addRow("%s: fifo", output) << pdf << u"fifo"_s << fifo;
        QTest::addRow("%s: character device", output) << pdf << u"device"_s << device;
        QTest::addRow("%s: folder", output) << pdf << u"folder"_s << folder;
        QTest::addRow("%s: stopped with Escape", output) << pdf << u"stopped"_s << QString();
        QTest::addRow("%s: link to a file is written through", output)
            << pdf << u"link"_s << QString();
    }
}

void tst_OutputFailures::outputThatCannotBeWritten()
{
    QFETCH(bool, pdf);
    QFETCH(QString, place);
    QFETCH(QString, why);
    ScratchFolder out;
    QVERIFY(out.isValid());
    const QByteArray suffix = pdf ? ".pdf" : ".txt";
    QByteArray path = out.path() + "/out" + suffix;
    QByteArray written = path; // the file that holds the earlier catalogue
    std::optional<SmallDisk> disk;
    QStringList left { u"out"_s + QLatin1StringView(suffix) };

    if (place == u"full") {
        disk.emplace(out.path() + "/small");
        path = written = out.path() + "/small/out" + suffix;
        QVERIFY(writeFile(QFile::decodeName(path), Earlier));
        left = { u"small"_s };
        if (!disk->mounted())
            why = u"File too large"_s;
    } else if (place == u"fifo") {
        QVERIFY(::mkfifo(path.constData(), 0644) == 0);
    } else if (place == u"device") {
        // A twin of /dev/null where the test may make one; else the real one.
        if (::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            path = "/dev/null";
            left.clear();
        }
    } else if (place == u"folder") {
        QVERIFY(::mkdir(path.constData(), 0755) == 0);
    } else if (place == u"stopped") {
        QVERIFY(writeFile(QFile::decodeName(path), Earlier));
        // Pressed as the run takes in its first events.
        QTimer::singleShot(0, w.window.get(),
                           [this] { QTest::keyClick(w.window.get(), Qt::Key_Escape); });
    } else if (place == u"link") {
        written = out.path() + "/linked" + suffix;
        QVERIFY(writeFile(QFile::decodeName(written), Earlier));
        QVERIFY(::symlink(written.constData(), path.constData()) == 0);
        left << u"linked"_s + QLatin1StringView(suffix);
    }
    const mode_t kind = kindOf(path);
    const QString fileName = QFile::decodeName(path);

    if (pdf) {
        w.questions->answerPrint({ true, false, [=](QPrinter *printer) {
                                      printer->setOutputFormat(QPrinter::PdfFormat);
                                      printer->setOutputFileName(fileName);
                                  } });
        if (place == u"full" || place == u"link" || place == u"stopped")
            w.questions->answerText(QString()); // the header box: the run got that far
    } else {
        w.questions->answerSaveFileName(fileName);
    }
    bool blocked = false;
    {
        const SmallDisk::Limit limit(disk && !disk->mounted());
        Watchdog watchdog(path);
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | (pdf ? Qt::Key_P : Qt::Key_S)));
        blocked = watchdog.blocked();
    }
    QVERIFY2(!blocked, "the command waited for a reader of the file");

    const QStringList messages = w.questions->log().filter(u"message "_s);
    if (place == u"stopped") {
        QCOMPARE(messages, QStringList());
        QCOMPARE(readAll(QFile::decodeName(written)), Earlier);
        QCOMPARE(w.window->browser()->statusStrip()->note(),
                 pdf ? u"Printing stopped; nothing was written"_s
                     : u"Save stopped; nothing was written"_s);
    } else if (why.isEmpty()) {
        QCOMPARE(messages, QStringList());
        QVERIFY(
            readAll(QFile::decodeName(written)).startsWith(pdf ? "%PDF-" : "Catalog of folder"));
    } else {
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(why), qPrintable(messages[0]));
        QVERIFY2(messages[0].contains(ScriptedQuestions::quoted(fileName).chopped(1).mid(1)),
                 qPrintable(messages[0]));
        if (place == u"full") {
            QCOMPARE(readAll(QFile::decodeName(written)), Earlier);
            QVERIFY(messages[0].contains(u"The earlier file of that name is unchanged."_s));
        }
    }
    // Nothing was put in the place of what was there, and nothing is left beside it.
    QCOMPARE(kindOf(path), kind);
    left.sort();
    QCOMPARE(QDir(out.text())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDir::Name),
             left);
    if (disk)
        QCOMPARE(QDir(QFile::decodeName(out.path() + "/small"))
                     .entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList { u"out"_s + QLatin1StringView(suffix) });
}

QTEST_MAIN(tst_OutputFailures)
#include "tst_outputfailures.moc"
