#include "catalogue/cataloguestate.h"
#include "printing/printcommand.h"
#include "support/pdfreading.h"
#include "support/writerfakes.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
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

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

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

/// The catalogue printed through a private CUPS scheduler with the cups-pdf virtual printer,
/// compared with the same catalogue printed straight to a PDF file.
class tst_CupsPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void printsThroughTheQueue();

private:
    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_produced;
    QString m_outputFolder; // where cups-pdf writes: ~/PDF of the job's user
};

void tst_CupsPrint::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList sbin { u"/usr/sbin"_s, u"/sbin"_s };
    const QString cupsd = QStandardPaths::findExecutable(u"cupsd"_s, sbin);
    const QString lpadmin = QStandardPaths::findExecutable(u"lpadmin"_s, sbin);
    if (cupsd.isEmpty() || lpadmin.isEmpty() || !QFile::exists(QueueDriver)
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
    QVERIFY(writeText(
        root + u"/cupsd.conf"_s,
        u"Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"_s.arg(socket)));
    QVERIFY(writeText(root + u"/cups-files.conf"_s,
                      u"ServerRoot %1/conf\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                      "CacheDir %1/cache\nStateDir %1/state\nErrorLog %1/error_log\n"
                      "AccessLog %1/access_log\nPageLog %1/page_log\nPrintcap %1/printcap\n"
                      "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"_s.arg(root)));

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
                 lpadmin,
                 { u"-p"_s, QueueName, u"-E"_s, u"-v"_s, u"cups-pdf:/"_s, u"-P"_s, QueueDriver }),
             0);
    const passwd *user = ::getpwuid(::geteuid());
    QVERIFY(user && user->pw_dir);
    m_outputFolder = QFile::decodeName(user->pw_dir) + u"/PDF"_s;
}

void tst_CupsPrint::cleanupTestCase()
{
    QFile::remove(m_produced);
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000))
            m_cupsd.kill();
    }
}

void tst_CupsPrint::printsThroughTheQueue()
{
    const FakeSource source = filesNamed(150);
    const QString title = u"quillmark-cups-%1"_s.arg(QCoreApplication::applicationPid());
    QPrinter queue(QPrinter::HighResolution);
    queue.setPrinterName(QueueName);
    queue.setDocName(title);
    queue.setPageSize(QPageSize(QPageSize::A4));
    QPrinter straight(QPrinter::HighResolution);
    straight.setOutputFormat(QPrinter::PdfFormat);
    straight.setOutputFileName(m_dir.filePath(u"straight.pdf"_s));
    straight.setPageLayout(queue.pageLayout());
    FakeViewport viewport;
    RecordingHost host;
    for (QPrinter *printer : { &queue, &straight }) {
        CatalogueState state;
        state.pageWidth = 11906;
        state.pageHeight = 16838;
        const PrintResult result = printCatalogue(state, source, viewport, host, *printer, nullptr);
        QCOMPARE(result.outcome, PrintResult::Outcome::Printed);
        QCOMPARE(result.pages, 3);
    }

    // cups-pdf writes to ~/PDF of the job's user, named after the job's title.
    const QDir output(m_outputFolder);
    const bool arrived = QTest::qWaitFor(
        [&] {
            const QStringList found = output.entryList({ title + u"*.pdf"_s }, QDir::Files);
            m_produced = found.isEmpty() ? QString() : output.filePath(found.first());
            return !found.isEmpty() && pdfPageCount(m_produced) > 0;
        },
        120000);
    QVERIFY2(arrived, qPrintable(u"no PDF from the queue in "_s + output.path()));

    // The queue's PDF has lost its text layer: compare what the pages look like.
    const auto viaQueue = inkOfPages(m_produced, m_dir.filePath(u"queue"_s));
    const auto direct = inkOfPages(straight.outputFileName(), m_dir.filePath(u"direct"_s));
    QCOMPARE(viaQueue.size(), 3);
    QCOMPARE(direct.size(), 3);
    for (int page = 0; page < 3; ++page) {
        const QMargins pixels(2, 2, 2, 2); // ghostscript sets the text a little heavier
        QVERIFY2(direct[page].height() > 100
                     && direct[page].marginsAdded(pixels).contains(viaQueue[page])
                     && viaQueue[page].marginsAdded(pixels).contains(direct[page]),
                 qPrintable(u"page %1 moved"_s.arg(page + 1)));
    }
}

QTEST_MAIN(tst_CupsPrint)
#include "tst_cupsprint.moc"
