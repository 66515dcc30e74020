#include "platform/qtquestions.h"
#include "support/pdfreading.h"
#include "support/watchdog.h"
#include "windowfixture.h"

#include <QAction>
#include <QLabel>
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
    void cleanup() { w.finish(); }

    void printsWhatTheDialogChose_data();
    void printsWhatTheDialogChose();
    void printDialog_data();
    void printDialog();

private:
    QTemporaryDir m_out;
    WindowFixture w;
};

void tst_PrintWindow::init()
{
    // Forty files: the preview scrolls, and a selection can lie anywhere.
    w.newFolder();
    w.makeFiles(40, QByteArray(100, 'x'));
    w.start();
    w.window->preview();
}

void tst_PrintWindow::printsWhatTheDialogChose_data()
{
    QTest::addColumn<bool>("selectionMade");
    QTest::addColumn<bool>("accepted"); // with the selection chosen, where there is one
    QTest::addColumn<QString>("printed"); // the first and the last file, and how many
    QTest::newRow("no selection: not offered, every line")
        << false << true << u"file0000 file0039 40"_s;
    QTest::newRow("selection of lines 5 to 9 kept: those five")
        << true << true << u"file0005 file0009 5"_s;
    QTest::newRow("Cancel: nothing printed, nothing kept") << true << false << QString();
}

void tst_PrintWindow::printsWhatTheDialogChose()
{
    QFETCH(bool, selectionMade);
    QFETCH(bool, accepted);
    RunState &state = w.window->state();
    if (selectionMade)
        state.selection = { 5, 9, true, 5 };
    state.printSelection = !selectionMade; // follows the dialog's choice, unless cancelled
    PreviewArea *area = w.window->previewArea();
    area->verticalBar()->setValue(3);
    const qint64 top = area->picture().top();
    const double lineHeight = state.metrics.lineHeight;
    const QStringList drawn = recordedTexts(area->picture());

    const QString pdf = m_out.filePath(QLatin1StringView(QTest::currentDataTag()) + u".pdf"_s);
    auto answer = toPdf(pdf, selectionMade);
    answer.accepted = accepted;
    w.questions->answerPrint(answer);
    if (accepted)
        w.questions->answerText(QString());
    QTest::keySequence(w.window.get(), QKeySequence(Qt::CTRL | Qt::Key_P));

    QCOMPARE(w.questions->log().value(0),
             selectionMade ? u"print selection=on"_s : u"print selection=off"_s);
    static const QRegularExpression fileName(u"file\\d{4}"_s);
    QStringList printed;
    for (const auto &found : fileName.globalMatch(pdfPageTexts(pdf).join(u' ')))
        printed << found.captured();
    QTEST(printed.isEmpty()
              ? QString()
              : u"%1 %2 %3"_s.arg(printed.first(), printed.last()).arg(printed.size()),
          "printed");
    QCOMPARE(state.printSelection, accepted == selectionMade);
    // The preview is as it was, measured as before; Copy waits for a new selection.
    QCOMPARE(recordedTexts(area->picture()), drawn);
    QCOMPARE(area->picture().top(), top);
    QCOMPARE(state.metrics.lineHeight, lineHeight);
    QVERIFY(!w.window->commands().copy->isEnabled());
}

void tst_PrintWindow::printDialog_data()
{
    QTest::addColumn<bool>("selectionAvailable");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("warning"); // about the file: the dialog stays open
    QTest::newRow("no selection: not offered") << false << true << QString();
    QTest::newRow("selection: offered and chosen, Return keeps it") << true << true << QString();
    QTest::newRow("selection: Cancel") << true << false << QString();
    // Its own check of the file would open it and wait for a reader: turned down before that.
    QTest::newRow("a FIFO as its file")
        << false << true
        << u"%1\n\nIt is a named pipe (FIFO), not a regular file.\nPlease choose a different "
           "file name."_s;
}

// The real print dialog: the selection offered where there is one, never a page range.
void tst_PrintWindow::printDialog()
{
    QFETCH(bool, selectionAvailable);
    QFETCH(bool, accept);
    QFETCH(QString, warning);
    const QString file = m_out.filePath(warning.isEmpty() ? u"dialog.pdf"_s : u"pipe.pdf"_s);
    QVERIFY(warning.isEmpty() || ::mkfifo(QFile::encodeName(file).constData(), 0644) == 0);
    QtQuestions questions(w.window.get());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(file);
    QStringList seen;
    QString warned;
    whenModal([&](QWidget *dialog) {
        for (const char *name : { "printAll", "printSelection", "printRange", "pagesRadioButton" })
            if (auto *button = dialog->findChild<QRadioButton *>(QLatin1String(name)))
                seen << u"%1 %2 %3"_s.arg(QLatin1String(name),
                                          button->isHidden() ? u"hidden"_s : u"shown"_s,
                                          button->isChecked() ? u"on"_s : u"off"_s);
        if (!warning.isEmpty())
            whenModal([&](QWidget *box) {
                warned = box->findChild<QLabel *>(u"qt_msgbox_label"_s)->text();
                QTest::keyClick(box, Qt::Key_Return);
                whenModal([](QWidget *stillOpen) { QTest::keyClick(stillOpen, Qt::Key_Escape); });
            });
        QTest::keyClick(dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
    });
    bool selectionChosen = !selectionAvailable, accepted = false, blocked = false;
    {
        const Watchdog watchdog(QFile::encodeName(file));
        accepted = questions.askPrint(&printer, selectionAvailable, &selectionChosen);
        blocked = watchdog.blocked();
    }
    QVERIFY2(!blocked, "the print dialog waited for a reader of the file");
    QCOMPARE(accepted, accept && warning.isEmpty());
    QCOMPARE(warned, warning.isEmpty() ? QString() : warning.arg(file));
    const QString selection = selectionAvailable ? u"shown on"_s : u"hidden off"_s;
    QCOMPARE(seen,
             (QStringList { u"printAll shown "_s + (selectionAvailable ? u"off"_s : u"on"_s),
                            u"printSelection "_s + selection, u"printRange hidden off"_s,
                            u"pagesRadioButton hidden off"_s }));
    QCOMPARE(selectionChosen, accepted && selectionAvailable);
    QVERIFY(printer.pageRanges().isEmpty());
}

QTEST_MAIN(tst_PrintWindow)
#include "tst_printwindow.moc"
