#include "catalogue/cataloguestate.h"
#include "catalogue/printcommand.h"
#include "pdfreading.h"
#include "writerfakes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

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

// Waits for a condition that an outside process brings about; false after \a seconds.
template<class Condition> bool waitFor(Condition condition, int seconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > seconds * 1000)
            return false;
        QThread::msleep(100);
    }
    return true;
}

struct Ink
{
    QRect box;
    qint64 dots = 0;
    QList<bool> rows; // rows with ink
};

// Rows with ink in \a a that have none within a row of them in \a b: a line missing or moved.
int unmatchedRows(const Ink &a, const Ink &b)
{
    int unmatched = 0;
    for (qsizetype y = 0; y < a.rows.size(); ++y)
        unmatched += a.rows[y] && !b.rows.value(y - 1) && !b.rows.value(y) && !b.rows.value(y + 1);
    return unmatched;
}

Ink inkOf(const QImage &page)
{
    Ink ink;
    ink.rows.fill(false, page.height());
    for (int y = 0; y < page.height(); ++y) {
        const uchar *row = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x) {
            if (row[x] >= 128)
                continue;
            ++ink.dots;
            ink.box |= QRect(x, y, 1, 1);
            ink.rows[y] = true;
        }
    }
    return ink;
}

// Pages rendered in grey at 50 dots per inch.
QList<QImage> renderPages(const QString &pdf, const QString &prefix)
{
    QProcess render;
    render.setStandardErrorFile(QProcess::nullDevice()); // warnings about ghostscript's fonts
    render.start(u"pdftoppm"_s, { u"-r"_s, u"50"_s, u"-gray"_s, pdf, prefix });
    render.waitForFinished(120000);
    QList<QImage> pages;
    for (int page = 1;; ++page) {
        const QImage image(prefix + u"-%1.pgm"_s.arg(page));
        if (image.isNull())
            break;
        pages << image.convertToFormat(QImage::Format_Grayscale8);
    }
    return pages;
}

} // namespace

/// The catalogue printed through a real print system: a private CUPS scheduler with the
/// cups-pdf virtual printer, whose PDF is compared with the same catalogue printed straight
/// to a PDF file.
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
    QString m_outputFolder; // where cups-pdf writes: ~/PDF of the job's user
    bool m_outputFolderExisted = true;
    QStringList m_produced;
};

void tst_CupsPrint::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString cupsd
        = QStandardPaths::findExecutable(u"cupsd"_s, { u"/usr/sbin"_s, u"/sbin"_s });
    const QString lpadmin
        = QStandardPaths::findExecutable(u"lpadmin"_s, { u"/usr/sbin"_s, u"/sbin"_s });
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
    const bool listening = m_cupsd.waitForStarted(10000)
        && waitFor([&] { return QFile::exists(socket) || m_cupsd.state() == QProcess::NotRunning; },
                   20)
        && m_cupsd.state() == QProcess::Running;
    if (!listening) {
        const QString why = QString::fromLocal8Bit(m_cupsd.readAll()).trimmed();
        QSKIP(qPrintable(u"cupsd cannot start here: "_s
                         + (why.isEmpty() ? m_cupsd.errorString() : why)));
    }

    // Everything from here talks to the private scheduler only.
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    QProcess admin;
    admin.setProcessChannelMode(QProcess::MergedChannels);
    admin.start(lpadmin,
                { u"-p"_s, QueueName, u"-E"_s, u"-v"_s, u"cups-pdf:/"_s, u"-P"_s, QueueDriver });
    QVERIFY(admin.waitForFinished(30000));
    QVERIFY2(admin.exitCode() == 0, admin.readAll().constData());

    const passwd *user = ::getpwuid(::geteuid());
    QVERIFY(user && user->pw_dir);
    m_outputFolder = QFile::decodeName(user->pw_dir) + u"/PDF"_s;
    m_outputFolderExisted = QFileInfo::exists(m_outputFolder);
}

void tst_CupsPrint::cleanupTestCase()
{
    for (const QString &file : std::as_const(m_produced))
        QFile::remove(file);
    if (!m_outputFolderExisted && !m_outputFolder.isEmpty())
        QDir().rmdir(m_outputFolder); // only when empty
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000))
            m_cupsd.kill();
        m_cupsd.waitForFinished(5000);
    }
}

void tst_CupsPrint::printsThroughTheQueue()
{
    QVERIFY(QPrinterInfo::availablePrinterNames().contains(QueueName));
    FakeSource source;
    for (int i = 0; i < 150; ++i)
        source.add(u"catalogue line %1.txt"_s.arg(i, 3, 10, QLatin1Char('0')), 1000 * i + 7,
                   1'780'000'000 + 3600 * i);
    source.prefix = u"/srv/archive/"_s;
    const QString title = u"quillmark-cups-%1"_s.arg(QCoreApplication::applicationPid());

    QPrinter queue(QPrinter::HighResolution);
    queue.setPrinterName(QueueName);
    queue.setDocName(title);
    queue.setPageSize(QPageSize(QPageSize::A4));
    QVERIFY(queue.isValid());
    QCOMPARE(queue.outputFormat(), QPrinter::NativeFormat);

    // The same catalogue on the same page, straight to a file.
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

    // cups-pdf names its file after the job's title.
    QString produced;
    const bool arrived = waitFor(
        [&] {
            const QStringList found
                = QDir(m_outputFolder).entryList({ title + u"*.pdf"_s }, QDir::Files);
            if (found.isEmpty())
                return false;
            produced = m_outputFolder + u"/"_s + found.first();
            return pdfPageCount(produced) > 0;
        },
        120);
    if (!produced.isEmpty())
        m_produced << produced;
    QVERIFY2(arrived, qPrintable(u"no PDF from the queue in "_s + m_outputFolder));
    QCOMPARE(pdfPageCount(produced), 3);

    // The queue's PDF has lost its text layer: compare what the pages look like.
    const QList<QImage> viaQueue = renderPages(produced, m_dir.filePath(u"queue"_s));
    const QList<QImage> direct
        = renderPages(straight.outputFileName(), m_dir.filePath(u"direct"_s));
    QCOMPARE(viaQueue.size(), 3);
    QCOMPARE(direct.size(), 3);
    for (int page = 0; page < 3; ++page) {
        QCOMPARE(viaQueue[page].size(), direct[page].size());
        const Ink a = inkOf(viaQueue[page]);
        const Ink b = inkOf(direct[page]);
        QVERIFY(b.dots > 1000);

        const QString where
            = u"page %1: %2 dots, straight %3"_s.arg(page + 1).arg(a.dots).arg(b.dots);
        const QMargins moved(a.box.left() - b.box.left(), a.box.top() - b.box.top(),
                             a.box.right() - b.box.right(), a.box.bottom() - b.box.bottom());
        QVERIFY2(qMax(qMax(qAbs(moved.left()), qAbs(moved.top())),
                      qMax(qAbs(moved.right()), qAbs(moved.bottom())))
                     <= 1,
                 qPrintable(where));
        // Ghostscript sets the text a little heavier; the lines themselves must match.
        QVERIFY2(qAbs(a.dots - b.dots) <= b.dots / 5, qPrintable(where));
        // A text line is six rows of ink at this resolution; heavier strokes may add one
        // row above or below a line here and there.
        QVERIFY2(unmatchedRows(a, b) <= 3 && unmatchedRows(b, a) <= 3, qPrintable(where));
    }
}

QTEST_MAIN(tst_CupsPrint)
#include "tst_cupsprint.moc"
