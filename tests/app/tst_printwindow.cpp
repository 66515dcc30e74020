#include "app/mainwindow.h"
#include "catalogue/pdfreading.h"
#include "catalogue/previewarea.h"
#include "platform/qtquestions.h"
#include "platform/scriptedquestions.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

QStringList recordedTexts(const PreviewPicture &picture)
{
    QStringList texts;
    for (qint64 i = 0; i < picture.itemCount(); ++i)
        texts << picture.item(i).text;
    return texts;
}

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
    void initTestCase();
    void init();
    void cleanup();

    void printsWhatTheDialogChose_data();
    void printsWhatTheDialogChose();
    void cancelChangesNothing();
    void headerBoxRemembersTheHeader_data();
    void headerBoxRemembersTheHeader();
    void pageSizeFromTheChosenPaper_data();
    void pageSizeFromTheChosenPaper();
    void withoutPrinterPrintsToAFileInHome();
    void unwritableFileIsSaid();
    void printDialogOffersNoPageRange_data();
    void printDialogOffersNoPageRange();

private:
    QString pdfPath(const QString &name) const { return m_out.filePath(name); }

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_out;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MemorySettingsStore> m_store;
    std::unique_ptr<ScriptedQuestions> m_questions;
    std::unique_ptr<MainWindow> m_window;
};

void tst_PrintWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void tst_PrintWindow::init()
{
    // Forty files: the preview scrolls, and a selection can lie anywhere.
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    for (const QString &name : fileNames(0, 39)) {
        QFile file(m_folder->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100, 'x'));
    }
    m_store = std::make_unique<MemorySettingsStore>();
    m_store->set(u"Quillmark"_s, u"StartUp"_s, u"Folder"_s, m_folder->path());
    m_questions = std::make_unique<ScriptedQuestions>();
    m_window = std::make_unique<MainWindow>(*m_store, *m_questions);
    m_window->load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(!m_window->commands().print->isEnabled());
    m_window->preview();
    QVERIFY(m_window->commands().print->isEnabled());
}

void tst_PrintWindow::cleanup()
{
    if (m_window)
        m_window->close();
    m_window.reset();
    QCOMPARE(m_questions->unexpectedCount(), 0);
    QCOMPARE(m_questions->unusedAnswers(), 0);
}

void tst_PrintWindow::printsWhatTheDialogChose_data()
{
    QTest::addColumn<bool>("selectionMade");
    QTest::addColumn<bool>("selectionChosen");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("no selection: the range is not offered, every line printed")
        << false << false << fileNames(0, 39);
    QTest::newRow("selection of lines 5 to 9 kept: those five lines")
        << true << true << fileNames(5, 9);
    QTest::newRow("selection offered, all pages chosen: every line")
        << true << false << fileNames(0, 39);
}

void tst_PrintWindow::printsWhatTheDialogChose()
{
    QFETCH(bool, selectionMade);
    QFETCH(bool, selectionChosen);
    QFETCH(QStringList, printed);
    RunState &state = m_window->state();
    if (selectionMade)
        state.selection = { 5, 9, true, 5 };
    const Selection selection = state.selection;
    PreviewArea *area = m_window->previewArea();
    area->verticalBar()->setValue(3);
    const qint64 top = area->picture().top();
    const QStringList drawn = recordedTexts(area->picture());
    const LineMetrics metrics = state.metrics;

    const QString pdf = pdfPath(u"chosen.pdf"_s);
    m_questions->answerPrint(printTo(pdf, selectionChosen));
    m_questions->answerText(QString());
    QTest::keySequence(m_window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));

    const QString prefix = QDir(m_folder->path()).absolutePath() + u"/"_s;
    QCOMPARE(m_questions->log().value(0),
             selectionMade ? u"print selection=on"_s : u"print selection=off"_s);
    QCOMPARE(printedNames(pdf), printed);
    const QStringList pages = pdfPageTexts(pdf);
    QCOMPARE(pdfPageCount(pdf), pages.size());
    QVERIFY2(pages.value(0).contains(
                 QRegularExpression(QRegularExpression::escape(prefix)
                                    + u"\\s+Page\\s+1\\s+of\\s+%1\\n"_s.arg(pages.size()))),
             qPrintable(pages.value(0).left(200)));
    QCOMPARE(state.printSelection, selectionChosen);
    QVERIFY(!state.printMode);

    // The preview is as it was, its selection and scroll position too; Copy waits for a
    // new selection.
    QVERIFY(state.previewReady);
    QCOMPARE(recordedTexts(area->picture()), drawn);
    QCOMPARE(area->verticalBar()->value(), 3);
    QCOMPARE(area->picture().top(), top);
    QCOMPARE(state.selection.selFirst, selection.selFirst);
    QCOMPARE(state.selection.selLast, selection.selLast);
    QCOMPARE(state.selection.selectionMade, selection.selectionMade);
    QCOMPARE(state.metrics.lineHeight, metrics.lineHeight);
    QCOMPARE(state.metrics.lineLeft, metrics.lineLeft);
    QCOMPARE(state.metrics.columnGap, metrics.columnGap);
    QVERIFY(!m_window->commands().copy->isEnabled());
    QVERIFY(m_window->commands().print->isEnabled());
}

void tst_PrintWindow::cancelChangesNothing()
{
    RunState &state = m_window->state();
    state.selection = { 2, 4, true, 2 };
    state.pageWidth = 12345;
    state.printSelection = true;
    const QStringList drawn = recordedTexts(m_window->previewArea()->picture());
    const QString pdf = pdfPath(u"cancelled.pdf"_s);
    ScriptedQuestions::PrintAnswer cancel = printTo(pdf, true);
    cancel.accepted = false;
    m_questions->answerPrint(cancel);
    m_window->commands().print->trigger();

    QCOMPARE(m_questions->log(), QStringList { u"print selection=on"_s }); // no header box
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!state.printMode);
    QVERIFY(state.printSelection);
    QCOMPARE(state.pageWidth, 12345);
    QVERIFY(state.selection.selectionMade);
    QCOMPARE(recordedTexts(m_window->previewArea()->picture()), drawn);
    QVERIFY(m_window->commands().print->isEnabled());
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
    const QString prefix = QDir(m_folder->path()).absolutePath() + u"/"_s;
    const QString header = folderPrinted ? prefix : answer;
    auto asked = [](const QString &offered) {
        return u"text \"Quillmark Header\" \"Enter Catalogue List Header and press OK or press "
               "Cancel to return no header\" "_s
            + ScriptedQuestions::quoted(offered) + u" at 2000,2000"_s;
    };

    m_questions->answerPrint(printTo(pdfPath(u"first.pdf"_s)));
    m_questions->answerText(answer);
    m_window->print();
    m_questions->answerPrint(printTo(pdfPath(u"second.pdf"_s)));
    m_questions->answerText(header);
    m_window->print();

    QCOMPARE(m_questions->log(),
             (QStringList { u"print selection=off"_s, asked(prefix), u"print selection=off"_s,
                            asked(header) }));
    for (const QString &file : { u"first.pdf"_s, u"second.pdf"_s }) {
        const QString first = pdfPageTexts(pdfPath(file)).value(0);
        QVERIFY2(first.contains(QRegularExpression(u"^\\s*"_s + QRegularExpression::escape(header)
                                                   + u"\\s+Page\\s+1\\s+of"_s)),
                 qPrintable(first.left(200)));
    }
}

void tst_PrintWindow::pageSizeFromTheChosenPaper_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("size");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // From the sizes' definitions: 210 mm is 11905.5 twips, not 8.27 inches (11909).
    QTest::newRow("A4") << QPageSize::A4 << QPageLayout::Portrait << 11906 << 16838;
    QTest::newRow("A4 landscape") << QPageSize::A4 << QPageLayout::Landscape << 16838 << 11906;
    QTest::newRow("Letter") << QPageSize::Letter << QPageLayout::Portrait << 12240 << 15840;
    QTest::newRow("A3, beyond the old 16-bit range")
        << QPageSize::A3 << QPageLayout::Landscape << 23811 << 16838;
}

void tst_PrintWindow::pageSizeFromTheChosenPaper()
{
    QFETCH(QPageSize::PageSizeId, size);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(int, width);
    QFETCH(int, height);
    const QString pdf = pdfPath(u"paper.pdf"_s);
    m_questions->answerPrint(printTo(pdf, false, size, orientation));
    m_questions->answerText(QString());
    m_window->print();
    QCOMPARE(m_window->state().pageWidth, width);
    QCOMPARE(m_window->state().pageHeight, height);
    QCOMPARE(pdfPageCount(pdf), 1);
}

void tst_PrintWindow::withoutPrinterPrintsToAFileInHome()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("a printer is installed here; the test needs a machine without one");
    const QString expected = QDir::home().filePath(QDir(m_folder->path()).dirName() + u".pdf"_s);
    QVERIFY(!QFile::exists(expected));
    m_questions->answerPrint({}); // Return: the dialog as it opened
    m_questions->answerText(QString());
    m_window->print();
    const bool printed = QFile::exists(expected);
    const int pages = pdfPageCount(expected);
    QFile::remove(expected);
    QVERIFY2(printed, qPrintable(expected));
    QCOMPARE(pages, 1);
    QVERIFY(m_questions->log().filter(u"message"_s).isEmpty());
}

void tst_PrintWindow::unwritableFileIsSaid()
{
    const QString pdf = m_out.filePath(u"no such folder/out.pdf"_s);
    m_questions->answerPrint(printTo(pdf));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    m_window->print();
    QCOMPARE(
        m_questions->log(),
        (QStringList { u"print selection=off"_s,
                       u"message \"Quillmark Print\" \"The catalogue could not be printed on "_s
                           + pdf + u".\""_s }));
    QVERIFY(!m_window->state().printMode);
    QVERIFY(m_window->state().previewReady);
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
    QtQuestions questions(m_window.get());
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
