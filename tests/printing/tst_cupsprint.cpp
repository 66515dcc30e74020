#include "support/pdfreading.h"
#include "support/programrun.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

const QString QueueName = u"quillmark-test"_s;
const QString QueueDriver = u"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"_s;

// The box around the ink of each page, rendered in grey at 50 dots per inch.
QList<QRect> inkOfPages(const QString &pdf, const QString &prefix)
{
    QProcess render;
    render.setStandardErrorFile(QProcess::nullDevice()); // warnings about ghostscript's fonts
    render.start(u"pdftoppm"_s, { u"-r"_s, u"50"_s, u"-gray"_s, pdf, prefix });
    render.waitForFinished(120000);
    QList<QRect> pages;
    for (int page = 1;; ++page) {
        const QImage image
            = QImage(prefix + u"-%1.pgm"_s.arg(page)).convertToFormat(QImage::Format_Grayscale8);
        if (image.isNull())
            return pages;
        pages << QRect();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                pages.last() |= image.constScanLine(y)[x] < 128 ? QRect(x, y, 1, 1) : QRect();
    }
}

} // namespace

/// The real program without a window, as a nightly job runs it, printing through a private CUPS
/// scheduler with the cups-pdf virtual printer, compared with the same catalogue that it prints
/// to a PDF file.
class tst_CupsPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void printsFromTheCommandLine_data();
    void printsFromTheCommandLine();

private:
    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_lpadmin;
    QStringList m_produced; // what the queue wrote to ~/PDF, removed at the end
    QString m_outputFolder; // where cups-pdf writes: ~/PDF of the job's user
};

void tst_CupsPrint::initTestCase()
{
    const QStringList sbin { u"/usr/sbin"_s, u"/sbin"_s };
    const QString cupsd = QStandardPaths::findExecutable(u"cupsd"_s, sbin);
    m_lpadmin = QStandardPaths::findExecutable(u"lpadmin"_s, sbin);
    if (cupsd.isEmpty() || m_lpadmin.isEmpty() || !QFile::exists(QueueDriver)
        || !QFile::exists(u"/usr/lib/cups/backend/cups-pdf"_s))
        QSKIP("cupsd cannot start: cups or printer-driver-cups-pdf is not installed");
    if (::geteuid() != 0)
        QSKIP("cupsd cannot start here: the cups-pdf printer runs only under a scheduler "
              "started as root");

    // The scheduler's own folders; its filters run as another user and must reach them.
    const QString root = m_dir.path();
    QDir(root).mkpath(u"conf"_s);
    QDir(root).mkpath(u"tmp"_s);
    ::chmod(QFile::encodeName(root).constData(), 0755);
    ::chmod(QFile::encodeName(root + u"/tmp"_s).constData(), 01777);
    const QString socket = root + u"/cups.sock"_s;
    QVERIFY(
        writeFile(root + u"/cupsd.conf"_s,
                  u"Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"_s.arg(socket)
                      .toUtf8()));
    QVERIFY(writeFile(root + u"/cups-files.conf"_s,
                      u"ServerRoot %1/conf\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                      "CacheDir %1/cache\nStateDir %1/state\nErrorLog %1/error_log\n"
                      "AccessLog %1/access_log\nPageLog %1/page_log\nPrintcap %1/printcap\n"
                      "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"_s.arg(root)
                          .toUtf8()));

    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(
        cupsd,
        { u"-f"_s, u"-c"_s, root + u"/cupsd.conf"_s, u"-s"_s, root + u"/cups-files.conf"_s });
    const bool up
        = m_cupsd.waitForStarted(10000)
        && QTest::qWaitFor(
              [&] { return QFile::exists(socket) || m_cupsd.state() == QProcess::NotRunning; },
              20000);
    if (!up || m_cupsd.state() != QProcess::Running)
        QSKIP(qPrintable(u"cupsd cannot start here: "_s + m_cupsd.errorString() + u' '
                         + QString::fromLocal8Bit(m_cupsd.readAll()).trimmed()));

    qputenv("CUPS_SERVER", QFile::encodeName(socket)); // the private scheduler only
    QCOMPARE(QProcess::execute(
                 m_lpadmin,
                 { u"-p"_s, QueueName, u"-E"_s, u"-v"_s, u"cups-pdf:/"_s, u"-P"_s, QueueDriver }),
             0);
    const passwd *user = ::getpwuid(::geteuid());
    QVERIFY(user && user->pw_dir);
    m_outputFolder = QFile::decodeName(user->pw_dir) + u"/PDF"_s;
}

void tst_CupsPrint::cleanupTestCase()
{
    for (const QString &pdf : std::as_const(m_produced))
        QFile::remove(pdf);
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000))
            m_cupsd.kill();
    }
}

void tst_CupsPrint::printsFromTheCommandLine_data()
{
    QTest::addColumn<QString>("printer"); // empty: the default one
    QTest::newRow("a printer by its name") << QueueName;
    QTest::newRow("the default printer") << QString();
}

void tst_CupsPrint::printsFromTheCommandLine()
{
    QFETCH(QString, printer);
    const QString program = QStringLiteral(QUILLMARK_PROGRAM);
    QVERIFY(QFileInfo(program).isExecutable());
    // The job is named after the folder, and cups-pdf names its file after the job.
    const QString title = u"quillmark-cli-%1-%2"_s.arg(QCoreApplication::applicationPid())
                              .arg(printer.isEmpty() ? u"default"_s : u"named"_s);
    const QString folder = m_dir.filePath(title);
    QVERIFY(QDir().mkpath(folder));
    for (int i = 0; i < 150; ++i)
        QVERIFY(writeFile(folder + u"/file%1.txt"_s.arg(i, 3, 10, QLatin1Char('0')), "xx"));
    if (printer.isEmpty())
        QCOMPARE(QProcess::execute(m_lpadmin, { u"-d"_s, QueueName }), 0);
    ProgramSetup setup;
    setup.configHome = m_dir.filePath(u"config"_s); // no stored page setup: the defaults
    QStringList arguments { u"--print"_s, u"--paper"_s, u"A4"_s, folder };
    if (!printer.isEmpty())
        arguments = QStringList { u"--printer"_s, printer } + arguments;
    const ProgramRun queued = runProgram(program, arguments, setup);
    QCOMPARE(QString::fromUtf8(queued.err), u"150 files, 300 bytes, 3 pages\n"_s);
    QCOMPARE(queued.exitCode, 0);
    const QString straight = m_dir.filePath(title + u".pdf"_s);
    const ProgramRun printed = runProgram(
        program, { u"--print-pdf"_s, straight, u"--paper"_s, u"A4"_s, u"--quiet"_s, folder },
        setup);
    QCOMPARE(printed.exitCode, 0);

    // cups-pdf writes to ~/PDF of the job's user, named after the job's title.
    const QDir output(m_outputFolder);
    QString produced;
    const bool arrived = QTest::qWaitFor(
        [&] {
            const QStringList found = output.entryList({ title + u"*.pdf"_s }, QDir::Files);
            produced = found.isEmpty() ? QString() : output.filePath(found.first());
            return !found.isEmpty() && pdfPageCount(produced) > 0;
        },
        120000);
    m_produced << produced;
    QVERIFY2(arrived, qPrintable(u"no PDF from the queue in "_s + m_outputFolder));
    // The queue's PDF has lost its text layer: compare what the pages look like.
    const auto viaQueue = inkOfPages(produced, m_dir.filePath(title + u"-queue"_s));
    const auto direct = inkOfPages(straight, m_dir.filePath(title + u"-direct"_s));
    QCOMPARE(viaQueue.size(), 3);
    QCOMPARE(direct.size(), 3);
    for (int page = 0; page < 3; ++page) {
        const QMargins pixels(2, 2, 2, 2); // ghostscript sets the text a little heavier
        QVERIFY2(direct[page].height() > 100
                     && direct[page].marginsAdded(pixels).contains(viaQueue[page])
                     && viaQueue[page].marginsAdded(pixels).contains(direct[page]),
                 qPrintable(u"page %1 moved"_s.arg(page + 1)));
    }

    // A name the scheduler does not know is named back with those it does.
    const ProgramRun unknown
        = runProgram(program, { u"--print"_s, u"--printer"_s, u"nosuch"_s, folder }, setup);
    QCOMPARE(QString::fromUtf8(unknown.err),
             u"quillmark: there is no printer named nosuch (printers here: %1)\n"_s.arg(QueueName));
    QCOMPARE(unknown.exitCode, 1);
}

QTEST_MAIN(tst_CupsPrint)
#include "tst_cupsprint.moc"
