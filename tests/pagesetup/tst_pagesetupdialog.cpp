#include "app/runstate.h"
#include "app/settings.h"
#include "pagesetup/pagesetupdialog.h"
#include "pagesetup/pagesetuprules.h"
#include "platform/scriptedquestions.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;

Q_DECLARE_METATYPE(qm::PageSetupField)

class tst_PageSetupDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tabOrderAndFirstFocus();
    void leavingAFieldCommitsLikeEnter_data();
    void leavingAFieldCommitsLikeEnter();
    void keysOutsideTheFilterDoNothing_data();
    void keysOutsideTheFilterDoNothing();
    void keypadDecimalKeyTypesAPoint_data();
    void keypadDecimalKeyTypesAPoint();
    void clickingIntoAFieldSelectsItAll();
    void closing_data();
    void closing();
    void minimumsOfAPdfPrinter();

private:
    void open(MarginMinimums minimums = {});
    QLineEdit *field(PageSetupField field) const { return m_dialog->field(field); }

    RunState m_state;
    ScriptedQuestions m_questions;
    std::unique_ptr<PageSetupDialog> m_dialog;
};

void tst_PageSetupDialog::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_PageSetupDialog::init()
{
    m_state = RunState();
    selectUnit(m_state.printSettings);
    m_questions.clearLog();
}

void tst_PageSetupDialog::cleanup()
{
    m_dialog.reset();
    QCOMPARE(m_questions.unexpectedCount(), 0);
}

void tst_PageSetupDialog::open(MarginMinimums minimums)
{
    m_dialog = std::make_unique<PageSetupDialog>(m_state, m_questions, minimums);
    m_dialog->show();
    QApplication::setActiveWindow(m_dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void tst_PageSetupDialog::tabOrderAndFirstFocus()
{
    open();
    QCOMPARE(QApplication::focusWidget(), field(PageSetupField::Left));
    QCOMPARE(field(PageSetupField::Left)->selectedText(), u"4.00"_s);
    const QList<QWidget *> expected {
        field(PageSetupField::Right), field(PageSetupField::Top),  field(PageSetupField::Bottom),
        field(PageSetupField::Name),  field(PageSetupField::Size), field(PageSetupField::DateTime),
        m_dialog->unitSelector(),     m_dialog->okButton(),        m_dialog->fontButton(),
        m_dialog->cancelButton(),     field(PageSetupField::Left)
    };
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), m_dialog->cancelButton());
}

void tst_PageSetupDialog::leavingAFieldCommitsLikeEnter_data()
{
    QTest::addColumn<PageSetupField>("edited");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<QString>("shown"); // every field's text afterwards, in tab order
    const QString margin = u"5.29 4.00 2.00 2.00 60 15 25"_s;
    const QString columns = u"4.00 4.00 2.00 2.00 70 15 15"_s;
    for (const QString &leave : { u"Enter"_s, u"Tab"_s, u"Shift+Tab"_s, u"click"_s }) {
        QTest::addRow("margin over the cap, %s", qPrintable(leave))
            << PageSetupField::Left << u"9"_s << leave << u"5.29 4.00 2.00 2.00 60 15 25"_s;
    }
    QTest::newRow("name share over 70, click")
        << PageSetupField::Name << u"80"_s << u"click"_s << u"4.00 4.00 2.00 2.00 70 15 15"_s;
    QTest::newRow("size share, Tab into the next")
        << PageSetupField::Size << u"30"_s << u"Tab"_s << u"4.00 4.00 2.00 2.00 60 25 15"_s;
    QTest::newRow("bottom margin, Tab to the name")
        << PageSetupField::Bottom << u"0"_s << u"Tab"_s << u"4.00 4.00 2.00 0.26 60 15 25"_s;
    QTest::newRow("letters typed are not there")
        << PageSetupField::Top << u"x3y.z5"_s << u"Tab"_s << u"4.00 4.00 3.50 2.00 60 15 25"_s;
}

void tst_PageSetupDialog::leavingAFieldCommitsLikeEnter()
{
    QFETCH(PageSetupField, edited);
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    QFETCH(QString, shown);
    open(MarginMinimums { 200, 150 });
    QLineEdit *edit = field(edited);
    edit->setFocus(Qt::TabFocusReason);
    QVERIFY(edit->hasFocus());
    m_state.settingsChanged = false;
    QTest::keyClicks(edit, typed); // replaces the whole text, selected on focus

    if (leave == u"Enter")
        QTest::keyClick(edit, Qt::Key_Return);
    else if (leave == u"Tab")
        QTest::keyClick(edit, Qt::Key_Tab);
    else if (leave == u"Shift+Tab")
        QTest::keyClick(edit, Qt::Key_Backtab);
    else
        QTest::mouseClick(field(PageSetupField::Right), Qt::LeftButton);
    QCOMPARE(edit->hasFocus(), leave == u"Enter");

    QStringList texts;
    for (int i = 0; i < PageSetupFieldCount; ++i)
        texts << field(PageSetupField(i))->text();
    // A field that is only passed through keeps what it showed: Shift+Tab from the left
    // margin goes to Cancel, and every other way out lands in a field not yet edited.
    QCOMPARE(texts.join(u' '), shown);
    QVERIFY(m_state.settingsChanged);
    if (edited == PageSetupField::Left)
        QCOMPARE(int(m_state.printSettings.leftMargin), 3000);
}

void tst_PageSetupDialog::keysOutsideTheFilterDoNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::newRow("Escape does not close") << u"field"_s << int(Qt::Key_Escape);
    QTest::newRow("minus in a field") << u"field"_s << int(Qt::Key_Minus);
    QTest::newRow("Down on the unit list") << u"units"_s << int(Qt::Key_Down);
    QTest::newRow("space on Cancel") << u"cancel"_s << int(Qt::Key_Space);
}

void tst_PageSetupDialog::keysOutsideTheFilterDoNothing()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    open();
    QWidget *widget = target == u"field" ? static_cast<QWidget *>(field(PageSetupField::Top))
        : target == u"units"             ? static_cast<QWidget *>(m_dialog->unitSelector())
                                         : m_dialog->cancelButton();
    widget->setFocus(Qt::TabFocusReason);
    const PrintSettings before = m_state.printSettings;
    QTest::keyClick(widget, Qt::Key(key));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(field(PageSetupField::Top)->text(), u"2.00"_s);
    QCOMPARE(m_dialog->unitSelector()->currentText(), u"cm"_s);
    QCOMPARE(m_state.printSettings.measurement, before.measurement);
}

void tst_PageSetupDialog::keypadDecimalKeyTypesAPoint_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("keypad point") << int(Qt::Key_Period);
    QTest::newRow("keypad comma of some layouts") << int(Qt::Key_Comma);
}

void tst_PageSetupDialog::keypadDecimalKeyTypesAPoint()
{
    QFETCH(int, key);
    open();
    QLineEdit *top = field(PageSetupField::Top);
    top->setFocus(Qt::TabFocusReason);
    QTest::keyClick(top, Qt::Key_1, Qt::KeypadModifier);
    QTest::keyClick(top, Qt::Key(key), Qt::KeypadModifier);
    QTest::keyClick(top, Qt::Key_5, Qt::KeypadModifier);
    QCOMPARE(top->text(), u"1.5"_s);
    QTest::keyClick(top, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(int(m_state.printSettings.topMargin), 850);
}

void tst_PageSetupDialog::clickingIntoAFieldSelectsItAll()
{
    open();
    QLineEdit *size = field(PageSetupField::Size);
    QTest::mouseClick(size, Qt::LeftButton, {}, QPoint(2, size->height() / 2));
    QVERIFY(size->hasFocus());
    QCOMPARE(size->selectedText(), u"15"_s);
    QTest::keyClicks(size, u"2"_s);
    QCOMPARE(size->text(), u"2"_s);
    // A second click in the focused field places the cursor as usual.
    QTest::mouseClick(size, Qt::LeftButton, {}, QPoint(size->width() - 3, size->height() / 2));
    QVERIFY(size->selectedText().isEmpty());
}

void tst_PageSetupDialog::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("changedBefore"); // settings changed before the dialog opened
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("page"); // top margin, shares, unit; then the changed flag
    const int ok = QDialog::Accepted, cancel = QDialog::Rejected;
    QTest::newRow("OK keeps the edits") << u"ok"_s << false << ok << u"2835 40/40/20 mm 1"_s;
    QTest::newRow("title bar keeps them, typing too")
        << u"close"_s << false << ok << u"2835 40/40/20 mm 1"_s;
    QTest::newRow("Cancel restores") << u"cancel"_s << false << cancel << u"1134 60/15/25 cm 0"_s;
    QTest::newRow("Cancel keeps an earlier change's flag")
        << u"cancel"_s << true << cancel << u"1134 60/15/25 cm 1"_s;
}

void tst_PageSetupDialog::closing()
{
    QFETCH(QString, how);
    QFETCH(bool, changedBefore);
    m_state.settingsChanged = changedBefore;
    open();
    QSignalSpy finished(m_dialog.get(), &QDialog::finished);
    m_dialog->unitSelector()->setCurrentIndex(1); // mm, as a click in the list does
    QCOMPARE(field(PageSetupField::Left)->text(), u"40.00"_s); // shown anew in the new unit
    for (const auto &[edited, typed] :
         { std::pair { PageSetupField::Name, "40" }, std::pair { PageSetupField::DateTime, "20" },
           std::pair { PageSetupField::Top, "50" } }) {
        field(edited)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field(edited), QLatin1StringView(typed));
        if (edited != PageSetupField::Top) // the top margin is left uncommitted, still focused
            QTest::keyClick(field(edited), Qt::Key_Return);
    }

    if (how == u"ok")
        QTest::mouseClick(m_dialog->okButton(), Qt::LeftButton);
    else if (how == u"close")
        m_dialog->close();
    else
        QTest::mouseClick(m_dialog->cancelButton(), Qt::LeftButton);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(finished.count(), 1);
    QTEST(finished.first().first().toInt(), "result");
    const PrintSettings &print = m_state.printSettings;
    QTEST(u"%1 %2/%3/%4 %5 %6"_s.arg(print.topMargin)
              .arg(shareText(print.column0), shareText(print.column1), shareText(print.column2),
                   print.measurement)
              .arg(int(m_state.settingsChanged)),
          "page");
}

void tst_PageSetupDialog::minimumsOfAPdfPrinter()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 15, 10, 15), QPageLayout::Point);
    // 20 twips to the point; each axis takes the mean of its two sides.
    MarginMinimums minimums = printerMarginMinimums(printer);
    QVERIFY2(qAbs(minimums.horizontal - 200) < 0.01,
             qPrintable(QString::number(minimums.horizontal)));
    QVERIFY2(qAbs(minimums.vertical - 300) < 0.01, qPrintable(QString::number(minimums.vertical)));
    printer.setFullPage(true);
    minimums = printerMarginMinimums(printer);
    QVERIFY(minimums.horizontal < 0.01 && minimums.vertical < 0.01);
}

QTEST_MAIN(tst_PageSetupDialog)
#include "tst_pagesetupdialog.moc"
