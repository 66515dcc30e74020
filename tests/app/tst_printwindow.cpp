#include "browse/folderbrowserview.h"
#include "platform/qtquestions.h"
#include "support/pdfreading.h"
#include "support/watchdog.h"
#include "windowfixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

class tst_PrintWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { w.pin(); }
    void init();
    void cleanup();

    void printsWhatTheDialogChose_data();
    void printsWhatTheDialogChose();
    void printDialogOffersTheSelection_data();
    void printDialogOffersTheSelection();
    void printDialogTurnsDownAFifo();
    void headerBoxAfterAFolderChange_data();
    void headerBoxAfterAFolderChange();
    void printFailureSaysWhy();

private:
    QTemporaryDir m_out;
    WindowFixture w;
};

void tst_PrintWindow::init()
{
    // Forty files: the preview scrolls, and a selection can lie anywhere.
    w.newFolder();
    for (int i = 0; i < 40; ++i)
        w.makeFile(u"file%1.txt"_s.arg(i, 2, 10, QLatin1Char('0')), QByteArray(100, 'x'));
    w.start();
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
    QTest::addColumn<QString>("first"); // file printed
    QTest::addColumn<int>("lines");
    QTest::newRow("no selection: not offered, every line")
        << false << false << true << u"file00"_s << 40;
    QTest::newRow("selection of lines 5 to 9 kept: those five")
        << true << true << true << u"file05"_s << 5;
    QTest::newRow("Cancel: nothing printed, nothing kept")
        << true << true << false << QString() << 0;
}

void tst_PrintWindow::printsWhatTheDialogChose()
{
    QFETCH(bool, selectionMade);
    QFETCH(bool, selectionChosen);
    QFETCH(bool, accepted);
    RunState &state = w.window->state();
    if (selectionMade)
        state.selection = { 5, 9, true, 5 };
    state.printSelection = !selectionChosen; // follows the dialog's choice, unless cancelled
    PreviewArea *area = w.window->previewArea();
    area->verticalBar()->setValue(3);
    const qint64 top = area->picture().top();
    const QStringList drawn = recordedTexts(area->picture());

    const QString pdf = m_out.filePath(QLatin1StringView(QTest::currentDataTag()) + u".pdf"_s);
    w.questions->answerPrint({ accepted, selectionChosen, [=](QPrinter *printer) {
                                  printer->setOutputFormat(QPrinter::PdfFormat);
                                  printer->setOutputFileName(pdf);
                              } });
    if (accepted)
        w.questions->answerText(QString());
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));

    QCOMPARE(w.questions->log().value(0),
             selectionMade ? u"print selection=on"_s : u"print selection=off"_s);
    QCOMPARE(QFile::exists(pdf), accepted);
    const QString printed = pdfPageTexts(pdf).join(u' ');
    QTEST(int(printed.count(u".txt"_s)), "lines");
    QTEST(printed.mid(printed.indexOf(u"file"_s), 6), "first");
    QCOMPARE(state.printSelection, accepted == selectionChosen);
    // The preview is as it was; Copy waits for a new selection.
    QCOMPARE(recordedTexts(area->picture()), drawn);
    QCOMPARE(area->picture().top(), top);
    QVERIFY(!w.window->commands().copy->isEnabled());
}

void tst_PrintWindow::printDialogOffersTheSelection_data()
{
    QTest::addColumn<bool>("selectionAvailable");
    QTest::addColumn<bool>("accept");
    QTest::newRow("no selection: not offered") << false << true;
    QTest::newRow("selection: offered and chosen, Return keeps it") << true << true;
    QTest::newRow("selection: Cancel") << true << false;
}

void tst_PrintWindow::printDialogOffersTheSelection()
{
    QFETCH(bool, selectionAvailable);
    QFETCH(bool, accept);
    QtQuestions questions(w.window.get());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(m_out.filePath(u"dialog.pdf"_s));
    QStringList seen;
    whenModal([&](QWidget *dialog) {
        for (const char *name : { "printAll", "printSelection", "printRange", "pagesRadioButton" })
            if (auto *button = dialog->findChild<QRadioButton *>(QLatin1String(name)))
                seen << u"%1 %2 %3"_s.arg(QLatin1String(name),
                                          button->isHidden() ? u"hidden"_s : u"shown"_s,
                                          button->isChecked() ? u"on"_s : u"off"_s);
        QTest::keyClick(dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
    });
    bool selectionChosen = !selectionAvailable;
    QCOMPARE(questions.askPrint(&printer, selectionAvailable, &selectionChosen), accept);
    const QString selection = selectionAvailable ? u"shown on"_s : u"hidden off"_s;
    QCOMPARE(seen,
             (QStringList { u"printAll shown "_s + (selectionAvailable ? u"off"_s : u"on"_s),
                            u"printSelection "_s + selection, u"printRange hidden off"_s,
                            u"pagesRadioButton hidden off"_s }));
    QCOMPARE(selectionChosen, accept && selectionAvailable);
    QVERIFY(printer.pageRanges().isEmpty());
}

void tst_PrintWindow::headerBoxAfterAFolderChange_data()
{
    QTest::addColumn<QString>("typed"); // in the first print's box; empty: Return on the folder
    QTest::addColumn<QString>("offeredAgain"); // in the second; "B" is the second folder
    QTest::newRow("the folder by default: the new folder") << QString() << u"B"_s;
    QTest::newRow("a typed header: offered again") << u"Holiday"_s << u"Holiday"_s;
}

void tst_PrintWindow::headerBoxAfterAFolderChange()
{
    QFETCH(QString, typed);
    QFETCH(QString, offeredAgain);
    const QString a = w.folder->path() + u'/';
    const QString b = a + u"B/"_s;
    QVERIFY(QDir(a).mkdir(u"B"_s));
    QFile(b + u"b.txt"_s).open(QIODevice::WriteOnly);
    const auto print = [&](const QString &pdf, const QString &answer) {
        const QString file = m_out.filePath(pdf);
        w.questions->answerPrint({ true, false, [file](QPrinter *printer) {
                                      printer->setOutputFormat(QPrinter::PdfFormat);
                                      printer->setOutputFileName(file);
                                  } });
        w.questions->answerText(answer);
        QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));
    };
    print(u"a.pdf"_s, typed.isEmpty() ? a : typed);

    w.window->browser()->refresh(); // lists the new folder B among the sub-folders
    QListView *folders = w.window->browser()->folderList();
    const QModelIndexList found = folders->model()->match(
        folders->model()->index(0, 0), Qt::DisplayRole, u"B"_s, 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    emit folders->activated(found.first());
    QCOMPARE(w.window->browser()->currentFolder() + u'/', b);
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_W));
    const QString again = offeredAgain == u"B" ? b : offeredAgain;
    print(u"b.pdf"_s, again); // Return on what is offered

    const QStringList offered = w.questions->log().filter(u"text "_s);
    QCOMPARE(offered.size(), 2);
    QVERIFY2(offered.at(0).endsWith(ScriptedQuestions::quoted(a) + u" at 2000,2000"_s),
             qPrintable(offered.at(0)));
    QVERIFY2(offered.at(1).endsWith(ScriptedQuestions::quoted(again) + u" at 2000,2000"_s),
             qPrintable(offered.at(1)));
    // What the box offered is what the pages carry.
    QVERIFY(pdfPageTexts(m_out.filePath(u"b.pdf"_s)).value(0).contains(again));
}

void tst_PrintWindow::printFailureSaysWhy()
{
    const QString pdf = m_out.filePath(u"missing/out.pdf"_s);
    w.questions->answerPrint({ true, false, [=](QPrinter *printer) {
                                  printer->setOutputFormat(QPrinter::PdfFormat);
                                  printer->setOutputFileName(pdf);
                              } });
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(w.questions->log().value(1),
             u"message \"Quillmark Print\" \"The catalogue could not be printed on %1.\\n\\n"
             "The file cannot be written: No such file or directory.\""_s.arg(pdf));
}

// The dialog's own check of the file would open it and wait for a reader: the name is turned
// down before that, and the dialog stays open for another.
void tst_PrintWindow::printDialogTurnsDownAFifo()
{
    const QString fifo = m_out.filePath(u"pipe.pdf"_s);
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    QtQuestions questions(w.window.get());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fifo);
    QString warning;
    whenModal([&](QWidget *dialog) {
        // The warning, and then the dialog again, still open.
        whenModal([&](QWidget *box) {
            warning = box->findChild<QLabel *>(u"qt_msgbox_label"_s)->text();
            QTest::keyClick(box, Qt::Key_Return);
            whenModal([](QWidget *stillOpen) { QTest::keyClick(stillOpen, Qt::Key_Escape); });
        });
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    bool blocked = false;
    {
        const Watchdog watchdog(QFile::encodeName(fifo));
        QVERIFY(!questions.askPrint(&printer, false, nullptr));
        blocked = watchdog.blocked();
    }
    QVERIFY2(!blocked, "the print dialog waited for a reader of the file");
    QCOMPARE(warning,
             u"%1\n\nIt is a named pipe (FIFO), not a regular file.\nPlease choose a different "
             "file name."_s.arg(fifo));
}

QTEST_MAIN(tst_PrintWindow)
#include "tst_printwindow.moc"
