#include "catalogue/pdfreading.h"
#include "platform/qtquestions.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

// The print dialog answered with a PDF file on the given paper.
ScriptedQuestions::PrintAnswer printTo(const QString &file, bool selection = false,
                                       QPageSize::PageSizeId size = QPageSize::A4,
                                       QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    return { true, selection, [=](QPrinter *printer) {
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(file);
                printer->setPageSize(QPageSize(size));
                printer->setPageOrientation(orientation);
            } };
}

// The catalogue's file names on the printed pages, in order.
QStringList printedNames(const QString &pdf)
{
    static const QRegularExpression name(u"\\b(file\\d\\d\\.txt)\\b"_s);
    QStringList names;
    for (const QString &page : pdfPageTexts(pdf))
        for (auto it = name.globalMatch(page); it.hasNext();)
            names << it.next().captured(1);
    return names;
}

QStringList fileNames(int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << u"file%1.txt"_s.arg(i, 2, 10, QLatin1Char('0'));
    return names;
}

} // namespace

class tst_PrintWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { w.pin(); }
    void init();
    void cleanup();

    void printsWhatTheDialogChose_data();
    void printsWhatTheDialogChose();
    void headerBoxRemembersTheHeader_data();
    void headerBoxRemembersTheHeader();
    void withoutPrinterPrintsToAFileInHome();
    void unwritableFileIsSaid();
    void printDialogOffersNoPageRange_data();
    void printDialogOffersNoPageRange();

private:
    QString pdfPath(const QString &name) const { return m_out.filePath(name); }

    QTemporaryDir m_out;
    WindowFixture w;
};

void tst_PrintWindow::init()
{
    // Forty files: the preview scrolls, and a selection can lie anywhere.
    w.newFolder();
    for (const QString &name : fileNames(0, 39))
        w.makeFile(name, QByteArray(100, 'x'));
    w.start(WindowFixture::Show::Exposed);
    QVERIFY(!w.window->commands().print->isEnabled());
    w.window->preview();
}

void tst_PrintWindow::cleanup()
{
    QCOMPARE(w.questions->unusedAnswers(), 0);
    w.finish();
}

void tst_PrintWindow::printsWhatTheDialogChose_data()
{
    QTest::addColumn<bool>("selectionMade");
    QTest::addColumn<bool>("selectionChosen");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("printed");
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<QSize>("pageTwips"); // empty: as before
    const auto portrait = QPageLayout::Portrait;
    // From the sizes' definitions: 210 mm is 11905.5 twips, not 8.27 inches (11909).
    QTest::newRow("no selection: not offered, every line; A4")
        << false << false << true << fileNames(0, 39) << QPageSize::A4 << portrait
        << QSize(11906, 16838);
    QTest::newRow("selection of lines 5 to 9 kept: those five; Letter")
        << true << true << true << fileNames(5, 9) << QPageSize::Letter << portrait
        << QSize(12240, 15840);
    QTest::newRow("selection offered, all chosen: every line; A3 landscape, past 16 bits")
        << true << false << true << fileNames(0, 39) << QPageSize::A3 << QPageLayout::Landscape
        << QSize(23811, 16838);
    QTest::newRow("Cancel: nothing printed, nothing kept")
        << true << true << false << QStringList() << QPageSize::A3 << portrait << QSize();
}

void tst_PrintWindow::printsWhatTheDialogChose()
{
    QFETCH(bool, selectionMade);
    QFETCH(bool, selectionChosen);
    QFETCH(bool, accepted);
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(QSize, pageTwips);
    RunState &state = w.window->state();
    if (selectionMade)
        state.selection = { 5, 9, true, 5 };
    state.printSelection = !selectionChosen; // follows the dialog's choice, unless cancelled
    const QSize pageBefore(state.pageWidth, state.pageHeight);
    const Selection selection = state.selection;
    PreviewArea *area = w.window->previewArea();
    area->verticalBar()->setValue(3);
    const qint64 top = area->picture().top();
    const QStringList drawn = recordedTexts(area->picture());
    const LineMetrics metrics = state.metrics;

    const QString pdf = pdfPath(accepted ? u"chosen.pdf"_s : u"cancelled.pdf"_s);
    ScriptedQuestions::PrintAnswer answer = printTo(pdf, selectionChosen, paper, orientation);
    answer.accepted = accepted;
    w.questions->answerPrint(answer);
    if (accepted)
        w.questions->answerText(QString());
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));

    QCOMPARE(w.questions->log().value(0),
             selectionMade ? u"print selection=on"_s : u"print selection=off"_s);
    QCOMPARE(w.questions->log().size(), accepted ? 2 : 1); // the header box only after OK
    QCOMPARE(QFile::exists(pdf), accepted);
    if (accepted) {
        QTEST(printedNames(pdf), "printed");
        const QStringList pages = pdfPageTexts(pdf);
        QCOMPARE(pdfPageCount(pdf), pages.size());
        const QString prefix = QDir(w.folder->path()).absolutePath() + u"/"_s;
        QVERIFY2(pages.value(0).contains(
                     QRegularExpression(QRegularExpression::escape(prefix)
                                        + u"\\s+Page\\s+1\\s+of\\s+%1\\n"_s.arg(pages.size()))),
                 qPrintable(pages.value(0).left(200)));
    }
    QCOMPARE(state.printSelection, accepted == selectionChosen);
    QCOMPARE(QSize(state.pageWidth, state.pageHeight), accepted ? pageTwips : pageBefore);
    QVERIFY(!state.printMode);

    // The preview is as it was, its selection and scroll position too; Copy waits for a
    // new selection.
    QVERIFY(state.previewReady);
    QCOMPARE(recordedTexts(area->picture()), drawn);
    QCOMPARE(area->verticalBar()->value(), 3);
    QCOMPARE(area->picture().top(), top);
    QCOMPARE(state.selection.selFirst, selection.selFirst);
    QCOMPARE(state.selection.selLast, selection.selLast);
    QCOMPARE(state.metrics.lineHeight, metrics.lineHeight);
    QCOMPARE(state.metrics.columnGap, metrics.columnGap);
    QVERIFY(!w.window->commands().copy->isEnabled());
    QVERIFY(w.window->commands().print->isEnabled());
}

void tst_PrintWindow::headerBoxRemembersTheHeader_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("folderPrinted");
    QTest::newRow("a typed header is offered next time") << u"Summer photos"_s << false;
    QTest::newRow("Cancel prints the folder, which is offered next time") << QString() << true;
}

void tst_PrintWindow::headerBoxRemembersTheHeader()
{
    QFETCH(QString, answer);
    QFETCH(bool, folderPrinted);
    const QString prefix = QDir(w.folder->path()).absolutePath() + u"/"_s;
    const QString header = folderPrinted ? prefix : answer;
    auto asked = [](const QString &offered) {
        return u"text \"Quillmark Header\" \"Enter Catalogue List Header and press OK or press "
               "Cancel to return no header\" "_s
            + ScriptedQuestions::quoted(offered) + u" at 2000,2000"_s;
    };

    w.questions->answerPrint(printTo(pdfPath(u"first.pdf"_s)));
    w.questions->answerText(answer);
    w.window->print();
    w.questions->answerPrint(printTo(pdfPath(u"second.pdf"_s)));
    w.questions->answerText(header);
    w.window->print();

    QCOMPARE(w.questions->log(),
             (QStringList { u"print selection=off"_s, asked(prefix), u"print selection=off"_s,
                            asked(header) }));
    for (const QString &file : { u"first.pdf"_s, u"second.pdf"_s }) {
        const QString first = pdfPageTexts(pdfPath(file)).value(0);
        QVERIFY2(first.contains(QRegularExpression(u"^\\s*"_s + QRegularExpression::escape(header)
                                                   + u"\\s+Page\\s+1\\s+of"_s)),
                 qPrintable(first.left(200)));
    }
}

void tst_PrintWindow::withoutPrinterPrintsToAFileInHome()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("a printer is installed here; the test needs a machine without one");
    const QString expected = QDir::home().filePath(QDir(w.folder->path()).dirName() + u".pdf"_s);
    QVERIFY(!QFile::exists(expected));
    w.questions->answerPrint({}); // Return: the dialog as it opened
    w.questions->answerText(QString());
    w.window->print();
    const bool printed = QFile::exists(expected);
    const int pages = pdfPageCount(expected);
    QFile::remove(expected);
    QVERIFY2(printed, qPrintable(expected));
    QCOMPARE(pages, 1);
    QVERIFY(w.questions->log().filter(u"message"_s).isEmpty());
}

void tst_PrintWindow::unwritableFileIsSaid()
{
    const QString pdf = m_out.filePath(u"no such folder/out.pdf"_s);
    w.questions->answerPrint(printTo(pdf));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    w.window->print();
    QCOMPARE(
        w.questions->log(),
        (QStringList { u"print selection=off"_s,
                       u"message \"Quillmark Print\" \"The catalogue could not be printed on "_s
                           + pdf + u".\""_s }));
    QVERIFY(!w.window->state().printMode);
    QVERIFY(w.window->state().previewReady);
}

void tst_PrintWindow::printDialogOffersNoPageRange_data()
{
    QTest::addColumn<bool>("selectionAvailable");
    QTest::addColumn<bool>("accept");
    QTest::newRow("no selection: not offered") << false << true;
    QTest::newRow("selection: offered and chosen, Return keeps it") << true << true;
    QTest::newRow("selection: Cancel") << true << false;
}

void tst_PrintWindow::printDialogOffersNoPageRange()
{
    QFETCH(bool, selectionAvailable);
    QFETCH(bool, accept);
    QtQuestions questions(w.window.get());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(pdfPath(u"dialog.pdf"_s));
    QStringList seen;
    whenModal([&](QWidget *dialog) {
        for (const char *name : { "printAll", "printSelection", "printRange", "pagesRadioButton" })
            if (auto *button = dialog->findChild<QRadioButton *>(QLatin1String(name)))
                seen << u"%1 %2 %3"_s.arg(QLatin1String(name),
                                          button->isHidden() ? u"hidden"_s : u"shown"_s,
                                          button->isChecked() ? u"on"_s : u"off"_s);
        const auto *printers = dialog->findChild<QComboBox *>(u"printers"_s);
        if (printers && printers->findText(u"Print to File (PDF)"_s) >= 0)
            seen << u"PDF file offered"_s;
        QTest::keyClick(dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
    });
    bool selectionChosen = !selectionAvailable;
    const bool accepted = questions.askPrint(&printer, selectionAvailable, &selectionChosen);

    const QString selection = selectionAvailable ? u"shown on"_s : u"hidden off"_s;
    QCOMPARE(seen,
             (QStringList { u"printAll shown "_s + (selectionAvailable ? u"off"_s : u"on"_s),
                            u"printSelection "_s + selection, u"printRange hidden off"_s,
                            u"pagesRadioButton hidden off"_s, u"PDF file offered"_s }));
    QCOMPARE(accepted, accept);
    QCOMPARE(selectionChosen, accept && selectionAvailable);
    QVERIFY(printer.pageRanges().isEmpty());
}

QTEST_MAIN(tst_PrintWindow)
#include "tst_printwindow.moc"
