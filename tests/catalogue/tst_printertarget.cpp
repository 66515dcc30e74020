#include "app/runstate.h"
#include "catalogue/catalogfakes.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/linegeometry.h"
#include "catalogue/previewpicture.h"
#include "catalogue/printertarget.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

// What the printing command adds to the walk: a new page whenever a page is full.
class PageBreaks : public PrintHooks
{
public:
    explicit PageBreaks(RunState &state)
        : m_state(state)
    {
    }
    void startPrintRun(OutputTarget &, const QString &, qint64 &, qint64 &) override { }
    void pageHead(OutputTarget &) override { }
    void pageBreak(OutputTarget &printer) override
    {
        printer.newPage();
        ++m_state.pageNumber;
        m_state.metrics.lineTop = 0;
    }

private:
    RunState &m_state;
};

int pdfPages(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF"))
        return -1;
    return int(QString::fromLatin1(pdf).count(QRegularExpression(u"/Type\\s*/Page(?!s)"_s)));
}

void setUpA4(QPrinter &printer, const QString &fileName)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

} // namespace

class tst_PrinterTarget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pageSizesInTwips_data();
    void pageSizesInTwips();
    void originAtTheMargins();
    void measuresLikeTheScreen();
    void catalogueOnPdfPages_data();
    void catalogueOnPdfPages();
    void nothingDrawnNothingPrinted();
    void unwritableFileIsReported();
};

void tst_PrinterTarget::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_PrinterTarget::pageSizesInTwips_data()
{
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<qint64>("width");
    QTest::addColumn<qint64>("height");
    QTest::addColumn<qint64>("scaleWidth");
    QTest::addColumn<qint64>("scaleHeight");

    // A4 is 595.28 × 841.89 points; 10 mm margins leave 538.58 × 785.2 points.
    QTest::newRow("A4 portrait") << QPageLayout::Portrait << qint64(11906) << qint64(16838)
                                 << qint64(10772) << qint64(15704);
    QTest::newRow("A4 landscape") << QPageLayout::Landscape << qint64(16838) << qint64(11906)
                                  << qint64(15704) << qint64(10772);
}

void tst_PrinterTarget::pageSizesInTwips()
{
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(qint64, width);
    QFETCH(qint64, height);
    QFETCH(qint64, scaleWidth);
    QFETCH(qint64, scaleHeight);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, dir.filePath(u"sizes.pdf"_s));
    printer.setPageOrientation(orientation);
    PrinterTarget target(printer);
    QCOMPARE(target.width(), width);
    QCOMPARE(target.height(), height);
    QCOMPARE(target.scaleWidth(), scaleWidth);
    QCOMPARE(target.scaleHeight(), scaleHeight);
}

void tst_PrinterTarget::originAtTheMargins()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, dir.filePath(u"origin.pdf"_s));
    PrinterTarget target(printer);
    RunState state;
    state.pageWidth = int(target.width());
    state.pageHeight = int(target.height());
    state.printMode = true;
    FakeViewport viewport;
    pageParameters(target, state, 10, viewport);

    // (0, 0) is the corner of the margins, measured from the paper's edges: the printable
    // area starts 10 mm (567 twips) in, the margins 2268 and 1134 twips.
    const double twipsPerDot = 1440.0 / printer.resolution();
    const QPointF corner = target.toDevice(0, 0);
    QVERIFY(qAbs(corner.x() * twipsPerDot - (2268 - 567)) < 1);
    QVERIFY(qAbs(corner.y() * twipsPerDot - (1134 - 567)) < 1);
    QCOMPARE(state.metrics.lineLeft, 0);
}

void tst_PrinterTarget::measuresLikeTheScreen()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, dir.filePath(u"measure.pdf"_s));
    PrinterTarget paper(printer);
    PreviewPicture screen;
    for (OutputTarget *target :
         { static_cast<OutputTarget *>(&paper), static_cast<OutputTarget *>(&screen) }) {
        target->setFontName(u"Arial"_s);
        target->setFontSize(10);
    }
    // Both in twips, on devices of very different resolution: close, not equal (hinting).
    const QString sample = MetricsSample.toString();
    QVERIFY(qAbs(paper.textWidth(sample) / screen.textWidth(sample) - 1) < 0.05);
    QVERIFY(qAbs(paper.textHeight(sample) / screen.textHeight(sample) - 1) < 0.1);
    paper.setFontSize(20);
    QVERIFY(paper.textWidth(sample) > 1.8 * screen.textWidth(sample));
}

void tst_PrinterTarget::catalogueOnPdfPages_data()
{
    QTest::addColumn<int>("fullPages");
    QTest::addColumn<int>("extraLines");

    QTest::newRow("one line") << 0 << 1;
    // The break follows every line, the last one too: a full last page is followed by a
    // page that carries only its head.
    QTest::newRow("exactly one full page") << 1 << 0;
    QTest::newRow("four pages and a bit") << 4 << 17;
}

void tst_PrinterTarget::catalogueOnPdfPages()
{
    QFETCH(int, fullPages);
    QFETCH(int, extraLines);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(u"catalogue.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, fileName);
    PrinterTarget target(printer);

    RunState state;
    state.pageWidth = int(target.width());
    state.pageHeight = int(target.height());
    state.printMode = true;
    FakeViewport viewport;
    pageParameters(target, state, 1, viewport);
    const int lineHeight = state.metrics.lineHeight;
    QVERIFY(lineHeight > 150 && lineHeight < 350); // 10 point text
    const int linesPerPage = (state.metrics.printHeight + lineHeight - 1) / lineHeight;

    FakeSource source;
    for (int i = 0; i < fullPages * linesPerPage + extraLines; ++i)
        source.add(u"file%1.txt"_s.arg(i), 1000 + i, 1'700'000'000 + i);
    RecordingHost host;
    PageBreaks hooks(state);
    CatalogueWriter(state, source, viewport, host).writePreview(target, &hooks);
    target.endDoc();

    QVERIFY(target.ok());
    QCOMPARE(target.pageCount(), fullPages + 1);
    QCOMPARE(pdfPages(fileName), fullPages + 1);
}

void tst_PrinterTarget::nothingDrawnNothingPrinted()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(u"empty.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, fileName);
    {
        PrinterTarget target(printer);
        RunState state;
        state.printMode = true;
        FakeSource source;
        FakeViewport viewport;
        RecordingHost host;
        CatalogueWriter(state, source, viewport, host).writePreview(target);
        target.endDoc();
        QCOMPARE(target.pageCount(), 0);
    }
    QVERIFY(!QFile::exists(fileName));
}

void tst_PrinterTarget::unwritableFileIsReported()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, dir.filePath(u"no such folder/out.pdf"_s));
    PrinterTarget target(printer);
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    target.print(u"alpha"_s);
    target.newPage();
    target.print(u"bravo"_s);
    target.endDoc();
    QVERIFY(!target.ok());
    QCOMPARE(target.pageCount(), 0);
}

QTEST_MAIN(tst_PrinterTarget)
#include "tst_printertarget.moc"
