#include "platform/colour.h"
#include "platform/fontchooser.h"
#include "platform/helpwindow.h"
#include "platform/qtquestions.h"
#include "platform/scriptedquestions.h"
#include "platform/twips.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Questions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scriptedLog();
    void scriptedUnexpected_data();
    void scriptedUnexpected();
    void scriptedQuoting_data();
    void scriptedQuoting();
    void yesIsTheDefault_data();
    void yesIsTheDefault();
    void inputBox_data();
    void inputBox();
    void saveDialogWantsExistingFolder();
    void fontChooserKeepsChoice();
    void fontChooserKeepsSystemColour();
    void helpShowsContentsOnce();
    void helpClosesWithQuestions();

private:
    // Runs \a act on the modal dialog once it is open.
    static void whenModal(std::function<void(QWidget *)> act)
    {
        QTimer::singleShot(0, qApp, [act] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal) {
                whenModal(act); // not shown yet
                return;
            }
            act(modal);
        });
    }
};

void tst_Questions::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_Questions::scriptedLog()
{
    ScriptedQuestions questions;
    questions.answerYesNo(true);
    questions.answerText(u"My header"_s);
    questions.answerSaveFileName(u"/tmp/out.txt"_s);
    questions.answerPrint({ true, true });

    QVERIFY(questions.askYesNo(u"Quillmark Save"_s, u"Save Selection Only?"_s));
    QCOMPARE(questions.askText(u"Quillmark Header"_s, u"Enter"_s, u"/home/"_s, QPoint(2000, 2000)),
             u"My header"_s);
    QCOMPARE(questions.askSaveFileName(u"Save Quillmark"_s, u"Text(*.txt)"_s, {}),
             std::optional<QString>(u"/tmp/out.txt"_s));
    bool selection = false;
    QVERIFY(questions.askPrint(nullptr, true, &selection));
    QVERIFY(selection);
    questions.showHelp();

    const QStringList expected = {
        u"yesno \"Quillmark Save\" \"Save Selection Only?\""_s,
        u"text \"Quillmark Header\" \"Enter\" \"/home/\" at 2000,2000"_s,
        u"save \"Save Quillmark\" \"Text(*.txt)\" \"\""_s,
        u"print selection=on"_s,
        u"help"_s,
    };
    QCOMPARE(questions.log(), expected);
    QCOMPARE(questions.unexpectedCount(), 0);
    QCOMPARE(questions.unusedAnswers(), 0);
}

void tst_Questions::scriptedUnexpected_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("logged");
    QTest::newRow("yes/no answers No") << u"yesno"_s << u"unexpected yesno \"t\" \"x\""_s;
    QTest::newRow("input box answers empty")
        << u"text"_s << u"unexpected text \"t\" \"x\" \"\" at 0,0"_s;
    QTest::newRow("save dialog cancels") << u"save"_s << u"unexpected save \"t\" \"x\" \"\""_s;
    QTest::newRow("font chooser cancels")
        << u"font"_s << u"unexpected font \"Arial\" 10 colour=0"_s;
    QTest::newRow("print dialog cancels") << u"print"_s << u"unexpected print selection=off"_s;
}

void tst_Questions::scriptedUnexpected()
{
    QFETCH(QString, kind);
    QFETCH(QString, logged);
    ScriptedQuestions questions;
    bool answered = true;
    if (kind == u"yesno")
        answered = questions.askYesNo(u"t"_s, u"x"_s);
    else if (kind == u"text")
        answered = !questions.askText(u"t"_s, u"x"_s, {}, {}).isEmpty();
    else if (kind == u"save")
        answered = questions.askSaveFileName(u"t"_s, u"x"_s, {}).has_value();
    else if (kind == u"font")
        answered = questions.askFont({ u"Arial"_s }).has_value();
    else {
        bool selection = true;
        answered = questions.askPrint(nullptr, false, &selection) || selection;
    }
    QVERIFY(!answered);
    QCOMPARE(questions.unexpectedCount(), 1);
    QCOMPARE(questions.log(), QStringList { logged });
}

void tst_Questions::scriptedQuoting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << u"abc"_s << u"\"abc\""_s;
    QTest::newRow("quote and backslash") << u"a\"b\\c"_s << u"\"a\\\"b\\\\c\""_s;
    QTest::newRow("line break cannot split the log") << u"a\nb"_s << u"\"a\\nb\""_s;
    QTest::newRow("control character") << u"a\x01"_s << u"\"a\\x01\""_s;
    QTest::newRow("percent is no placeholder") << u"%1 %4"_s << u"\"%1 %4\""_s;
}

void tst_Questions::scriptedQuoting()
{
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(ScriptedQuestions::quoted(text), quoted);
    ScriptedQuestions questions;
    questions.answerText({});
    questions.askText(text, text, text, QPoint(1, 2));
    QCOMPARE(questions.log().value(0),
             u"text "_s + quoted + u' ' + quoted + u' ' + quoted + u" at 1,2"_s);
}

void tst_Questions::yesIsTheDefault_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Enter takes the default Yes") << int(Qt::Key_Return) << true;
    QTest::newRow("Escape means No") << int(Qt::Key_Escape) << false;
}

void tst_Questions::yesIsTheDefault()
{
    QFETCH(int, key);
    QFETCH(bool, yes);
    QtQuestions questions(nullptr);
    QString seenText;
    bool hadIcon = true;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box) {
            seenText = box->text();
            hadIcon = box->icon() != QMessageBox::NoIcon;
        }
        QTest::keyClick(modal, Qt::Key(key));
    });
    QCOMPARE(questions.askYesNo(u"Quillmark Save"_s, u"Save Selection Only?"_s), yes);
    QCOMPARE(seenText, u"Save Selection Only?"_s);
    QVERIFY(!hadIcon);
}

void tst_Questions::inputBox_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("answer");
    QTest::newRow("OK returns the text") << true << u"Holiday pictures"_s;
    QTest::newRow("Cancel returns empty") << false << QString();
}

void tst_Questions::inputBox()
{
    QFETCH(bool, accept);
    QFETCH(QString, answer);
    QtQuestions questions(nullptr);
    QString offered;
    QPoint placed;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        offered = dialog->textValue();
        placed = dialog->pos();
        dialog->setTextValue(u"Holiday pictures"_s);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
    QCOMPARE(questions.askText(u"Quillmark Header"_s, u"Enter a header"_s, u"/home/me/"_s,
                               QPoint(2000, 2000)),
             answer);
    QCOMPARE(offered, u"/home/me/"_s);
    const QPoint screenOrigin = QGuiApplication::primaryScreen()->geometry().topLeft();
    QCOMPARE(placed, screenOrigin + QPoint(twipsToPixels(2000), twipsToPixels(2000)));
}

void tst_Questions::saveDialogWantsExistingFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(u"gone/catalogue.txt"_s);
    const QString good = dir.filePath(u"catalogue.txt"_s);
    QtQuestions questions(nullptr);
    QStringList seen;

    // First a name in a folder that does not exist: refused with a message, then asked again.
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        seen << dialog->windowTitle() << dialog->nameFilters().join(u'|')
             << (dialog->testOption(QFileDialog::DontConfirmOverwrite) ? u"no confirm"_s
                                                                       : u"confirm"_s);
        dialog->selectFile(missing);
        static_cast<QDialog *>(dialog)->accept();
        whenModal([&](QWidget *message) {
            seen << (qobject_cast<QMessageBox *>(message) ? u"message"_s : u"other"_s);
            qobject_cast<QDialog *>(message)->accept();
            whenModal([&](QWidget *again) {
                auto *retry = qobject_cast<QFileDialog *>(again);
                QVERIFY(retry);
                retry->selectFile(good);
                static_cast<QDialog *>(retry)->accept();
            });
        });
    });
    const std::optional<QString> chosen
        = questions.askSaveFileName(u"Save Quillmark"_s, u"Text(*.txt)"_s, {});
    QCOMPARE(chosen, std::optional<QString>(good));
    QCOMPARE(seen,
             (QStringList { u"Save Quillmark"_s, u"Text(*.txt)"_s, u"confirm"_s, u"message"_s }));
}

void tst_Questions::fontChooserKeepsChoice()
{
    const QStringList families = QFontDatabase::families();
    QVERIFY(!families.isEmpty());
    FontChooser chooser;
    FontChoice initial { families.first(), 14, true, false, true, true, 0x00FF0000 };
    chooser.setChoice(initial);
    const FontChoice shown = chooser.choice();
    QCOMPARE(shown.name, initial.name);
    QCOMPARE(shown.size, 14.0);
    QVERIFY(shown.bold);
    QVERIFY(!shown.italic);
    QVERIFY(shown.underline);
    QVERIFY(shown.strikethru);
    QCOMPARE(shown.colour, 0x00FF0000);

    chooser.setColour(QColor(0x12, 0x34, 0x56));
    QCOMPARE(chooser.choice().colour, 0x00563412);
    chooser.setColour(QColor()); // a cancelled colour dialog
    QCOMPARE(chooser.choice().colour, 0x00563412);
}

void tst_Questions::fontChooserKeepsSystemColour()
{
    // Until the user picks a colour, a stored system colour stays a system colour.
    FontChooser chooser;
    chooser.setChoice({ u"Sans Serif"_s, 10, false, false, false, false, qint32(0x80000008) });
    QCOMPARE(chooser.choice().colour, qint32(0x80000008));
}

void tst_Questions::helpShowsContentsOnce()
{
    QtQuestions questions(nullptr);
    questions.showHelp();
    QPointer<HelpWindow> first = questions.helpWindow();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->windowTitle(), u"Quillmark Help"_s);
    QVERIFY(first->windowFlags() & Qt::Window);
    QVERIFY(!first->testAttribute(Qt::WA_QuitOnClose));

    const QString page = first->browser()->toPlainText();
    QVERIFY2(page.contains(u"Contents"_s), qPrintable(page.left(200)));
    for (const QString &topic : { u"Ctrl+W"_s, u"Page Setup"_s, u"Print to File (PDF)"_s,
                                  u"Quillmark.ini"_s, u"Shift+click"_s })
        QVERIFY2(page.contains(topic), qPrintable(topic));

    first->browser()->scrollToAnchor(u"settings"_s);
    QVERIFY(first->browser()->verticalScrollBar()->value() > 0);
    questions.showHelp();
    QCOMPARE(questions.helpWindow(), first.data());
    QCOMPARE(first->browser()->verticalScrollBar()->value(), 0);
}

void tst_Questions::helpClosesWithQuestions()
{
    QPointer<HelpWindow> help;
    {
        QtQuestions questions(nullptr);
        questions.showHelp();
        help = questions.helpWindow();
        QVERIFY(help);
        questions.closeHelp();
        QVERIFY(!help);
        questions.showHelp(); // opens afresh after a close
        help = questions.helpWindow();
        QVERIFY(help);
    }
    QVERIFY(!help);
}

QTEST_MAIN(tst_Questions)
#include "tst_questions.moc"
