#include "platform/fontchooser.h"
#include "platform/helpwindow.h"
#include "platform/qtquestions.h"
#include "platform/twips.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>

using namespace qm;
using namespace Qt::StringLiterals;

// Runs \a act on the modal dialog once it is open.
static void whenModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        if (QWidget *modal = QApplication::activeModalWidget())
            act(modal);
        else
            whenModal(act);
    });
}

class tst_Questions : public QObject
{
    Q_OBJECT

private slots:
    void dialogKeys_data();
    void dialogKeys();
    void saveDialogWantsExistingFolder();
    void fontChooserKeepsChoice_data();
    void fontChooserKeepsChoice();
    void helpWindow();
};

void tst_Questions::dialogKeys_data()
{
    QTest::addColumn<bool>("inputBox");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("answer");
    QTest::newRow("yes/no: Enter is Yes") << false << int(Qt::Key_Return) << u"Yes"_s;
    QTest::newRow("yes/no: Escape means No") << false << int(Qt::Key_Escape) << u"No"_s;
    QTest::newRow("input box: OK returns the text") << true << int(Qt::Key_Return) << u"Trip"_s;
}

void tst_Questions::dialogKeys()
{
    QFETCH(bool, inputBox);
    QFETCH(int, key);
    QFETCH(QString, answer);
    QtQuestions questions(nullptr);
    QPoint placed;
    whenModal([&](QWidget *modal) {
        if (auto *dialog = qobject_cast<QInputDialog *>(modal)) {
            placed = dialog->pos();
            dialog->setTextValue(u"Trip"_s);
        }
        QTest::keyClick(modal, Qt::Key(key));
    });
    const QString got = inputBox
        ? questions.askText(u"Header"_s, u"Enter"_s, u"/home/me/"_s, QPoint(2000, 1000))
        : (questions.askYesNo(u"Quillmark Save"_s, u"Save?"_s) ? u"Yes"_s : u"No"_s);
    QCOMPARE(got, answer);
    if (inputBox)
        QCOMPARE(placed,
                 QGuiApplication::primaryScreen()->geometry().topLeft()
                     + QPoint(twipsToPixels(2000), twipsToPixels(1000)));
}

void tst_Questions::saveDialogWantsExistingFolder()
{
    QTemporaryDir dir;
    const QString good = dir.filePath(u"catalogue.txt"_s);
    QtQuestions questions(nullptr);
    bool refused = false;
    // A name in a folder that does not exist is refused with a message, then asked again.
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        dialog->selectFile(dir.filePath(u"gone/catalogue.txt"_s));
        static_cast<QDialog *>(dialog)->accept();
        whenModal([&](QWidget *message) {
            refused = qobject_cast<QMessageBox *>(message);
            qobject_cast<QDialog *>(message)->accept();
            whenModal([&](QWidget *again) {
                qobject_cast<QFileDialog *>(again)->selectFile(good);
                static_cast<QDialog *>(again)->accept();
            });
        });
    });
    QCOMPARE(questions.askSaveFileName(u"Save Quillmark"_s, u"Text(*.txt)"_s, {}, nullptr),
             std::optional<QString>(good));
    QVERIFY(refused);
}

void tst_Questions::fontChooserKeepsChoice_data()
{
    QTest::addColumn<QString>("face");
    QTest::newRow("installed face") << u"Liberation Sans"_s;
    QTest::newRow("face the system lacks keeps its name") << u"Quillmark No Such Face"_s;
}

void tst_Questions::fontChooserKeepsChoice()
{
    QFETCH(QString, face);
    // A stored system colour is kept as it is.
    const FontChoice stored { face, 14, true, false, true, true, qint32(0x80000008) };
    FontChooser chooser;
    chooser.setChoice(stored);
    QCOMPARE(chooser.choice(), stored);
}

void tst_Questions::helpWindow()
{
    QtQuestions questions(nullptr);
    questions.showHelp();
    const QPointer<HelpWindow> help = questions.helpWindow();
    QVERIFY(help && help->isVisible());
    QScrollBar *scroll = help->browser()->verticalScrollBar();
    help->browser()->scrollToAnchor(u"settings"_s);
    QVERIFY(scroll->value() > 0);
    questions.showHelp(); // the same window, back at its contents
    QCOMPARE(questions.helpWindow(), help.data());
    QCOMPARE(scroll->value(), 0);
    questions.closeHelp();
    QVERIFY(!help);
}

QTEST_MAIN(tst_Questions)
#include "tst_questions.moc"
