#include "app/runstate.h"
#include "app/settings.h"
#include "pagesetup/pagesetupdialog.h"
#include "pagesetup/pagesetuprules.h"
#include "pagesetup/pagesetupsession.h"
#include "platform/twips.h"
#include "support/scriptedquestions.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;

Q_DECLARE_METATYPE(qm::PageSetupField)

class tst_PageSetupDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup();
    void commitThenPassThrough_data();
    void commitThenPassThrough();
    void leavingAFieldCommitsLikeEnter_data();
    void leavingAFieldCommitsLikeEnter();
    void closing_data();
    void closing();
    void unitsShowWhole();

private:
    void open(bool changedBefore = false);
    QLineEdit *field(PageSetupField field) const { return m_dialog->field(field); }

    RunState m_state;
    ScriptedQuestions m_questions;
    std::unique_ptr<PageSetupDialog> m_dialog;
};

void tst_PageSetupDialog::open(bool changedBefore)
{
    m_state = RunState();
    selectUnit(m_state.printSettings);
    m_state.settingsChanged = changedBefore;
    m_dialog = std::make_unique<PageSetupDialog>(m_state, m_questions, MarginMinimums { 200, 150 });
    m_dialog->show();
    QApplication::setActiveWindow(m_dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void tst_PageSetupDialog::cleanup()
{
    m_dialog.reset();
    QCOMPARE(m_questions.unexpectedCount(), 0);
}

void tst_PageSetupDialog::commitThenPassThrough_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<PageSetupField>("field");
    QTest::addColumn<QString>("typed"); // null: nothing typed
    QTest::addColumn<QString>("shown"); // every field in tab order, then left and top in twips
    const auto left = PageSetupField::Left, name = PageSetupField::Name;
    const auto size = PageSetupField::Size;
    // 1.58 in read back would be 2275 twips.
    QTest::newRow("in: twips unchanged")
        << u"in"_s << left << QString() << u"1.58 1.58 0.79 0.79 60 15 25 2268 1134"_s;
    // 5.29 cm read back would be 2999 twips.
    QTest::newRow("9 cm capped at 3000")
        << u"cm"_s << left << u"9"_s << u"5.29 4.00 2.00 2.00 60 15 25 3000 1134"_s;
    QTest::newRow("0 is the printer minimum")
        << u"cm"_s << left << u"0"_s << u"0.35 4.00 2.00 2.00 60 15 25 200 1134"_s;
    QTest::newRow("negative is the printer minimum")
        << u"cm"_s << PageSetupField::Top << u"-3"_s << u"4.00 4.00 0.26 2.00 60 15 25 2268 150"_s;
    QTest::newRow("name above 70")
        << u"cm"_s << name << u"80"_s << u"4.00 4.00 2.00 2.00 70 15 15 2268 1134"_s;
    QTest::newRow("name below 20")
        << u"cm"_s << name << u"10"_s << u"4.00 4.00 2.00 2.00 20 40 40 2268 1134"_s;
    // 65 splits the rest 17.5/17.5, shown 18/18; read back, 18 would make it 18/17.
    QTest::newRow("shown rounded share")
        << u"cm"_s << name << u"65"_s << u"4.00 4.00 2.00 2.00 65 18 18 2268 1134"_s;
    QTest::newRow("size above 1 - name - 15")
        << u"cm"_s << size << u"30"_s << u"4.00 4.00 2.00 2.00 60 25 15 2268 1134"_s;
    QTest::newRow("size below 15")
        << u"cm"_s << size << u"5"_s << u"4.00 4.00 2.00 2.00 60 15 25 2268 1134"_s;
}

// The rules alone, in a locale where "," would be wrong.
void tst_PageSetupDialog::commitThenPassThrough()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QFETCH(QString, unit);
    QFETCH(PageSetupField, field);
    QFETCH(QString, typed);
    RunState state;
    // A printer's minimums are seldom whole twips: these become 200 and 150.
    PageSetupSession session(state, MarginMinimums { 199.6, 149.5 });
    session.open();
    session.chooseUnit(unit);
    if (!typed.isNull())
        session.commit(field, typed); // Enter after typing...
    const PrintSettings &print = state.printSettings;
    const auto texts = [&] {
        QStringList texts;
        for (int i = 0; i < PageSetupFieldCount; ++i)
            texts << session.shownText(PageSetupField(i));
        return texts.join(u' ') + u" %1 %2"_s.arg(print.leftMargin).arg(print.topMargin);
    };
    QTEST(texts(), "shown");
    const ColumnShares before { print.column0, print.column1, print.column2 };
    for (int i = 0; i < PageSetupFieldCount; ++i) // ...then Tab through every field
        session.commit(PageSetupField(i), session.shownText(PageSetupField(i)));
    QTEST(texts(), "shown");
    QCOMPARE((ColumnShares { print.column0, print.column1, print.column2 }), before);
}

void tst_PageSetupDialog::leavingAFieldCommitsLikeEnter_data()
{
    QTest::addColumn<PageSetupField>("edited");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<QString>("shown"); // every field's text afterwards, in tab order
    for (const QString &leave : { u"Enter"_s, u"Tab"_s, u"click"_s }) {
        QTest::addRow("margin over the cap, %s", qPrintable(leave))
            << PageSetupField::Left << u"9"_s << leave << u"5.29 4.00 2.00 2.00 60 15 25"_s;
    }
    QTest::newRow("letters typed are not there")
        << PageSetupField::Top << u"x3y.z5"_s << u"Tab"_s << u"4.00 4.00 3.50 2.00 60 15 25"_s;
}

void tst_PageSetupDialog::leavingAFieldCommitsLikeEnter()
{
    QFETCH(PageSetupField, edited);
    QFETCH(QString, typed);
    QFETCH(QString, leave);
    open();
    QLineEdit *edit = field(edited);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, typed); // replaces the whole text, selected on focus
    if (leave == u"Enter")
        QTest::keyClick(edit, Qt::Key_Return);
    else if (leave == u"Tab")
        QTest::keyClick(edit, Qt::Key_Tab);
    else
        QTest::mouseClick(field(PageSetupField::Right), Qt::LeftButton);
    QCOMPARE(edit->hasFocus(), leave == u"Enter");
    QStringList texts;
    for (int i = 0; i < PageSetupFieldCount; ++i)
        texts << field(PageSetupField(i))->text();
    QTEST(texts.join(u' '), "shown");
}

void tst_PageSetupDialog::closing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("changedBefore"); // settings changed before the dialog opened
    // top margin, shares, unit and its factor, changed flag, font
    QTest::addColumn<QString>("page");
    QTest::newRow("OK keeps the edits, typing too")
        << false << false << u"2835 40/40/20 mm 56.7 1 Liberation Serif 48"_s;
    QTest::newRow("Cancel restores all but the unit factor and the font")
        << true << false << u"1134 60/15/25 cm 56.7 0 Liberation Serif 48"_s;
    QTest::newRow("Cancel keeps an earlier change's flag")
        << true << true << u"1134 60/15/25 cm 56.7 1 Liberation Serif 48"_s;
}

void tst_PageSetupDialog::closing()
{
    QFETCH(bool, cancel);
    QFETCH(bool, changedBefore);
    open(changedBefore);
    m_questions.answerFont(FontChoice { u"Liberation Serif"_s, 72, false, false, false, false, 0 });
    QTest::mouseClick(m_dialog->fontButton(), Qt::LeftButton);
    m_dialog->unitSelector()->setCurrentIndex(1); // mm, as a click in the list does
    for (const auto &[edited, typed] :
         { std::pair { PageSetupField::Name, "40" }, std::pair { PageSetupField::DateTime, "20" },
           std::pair { PageSetupField::Top, "50" } }) {
        field(edited)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field(edited), QLatin1StringView(typed));
        if (edited != PageSetupField::Top) // the top margin is left uncommitted, still focused
            QTest::keyClick(field(edited), Qt::Key_Return);
    }
    QTest::mouseClick(cancel ? m_dialog->cancelButton() : m_dialog->okButton(), Qt::LeftButton);
    QVERIFY(!m_dialog->isVisible());
    const PrintSettings &print = m_state.printSettings;
    QTEST(u"%1 %2/%3/%4 %5 %6 %7 %8 %9"_s.arg(print.topMargin)
              .arg(shareText(print.column0), shareText(print.column1), shareText(print.column2),
                   print.measurement, QString::number(print.unitFactor, 'f', 1))
              .arg(int(m_state.settingsChanged))
              .arg(m_state.catalogueFont.name)
              .arg(m_state.catalogueFont.size),
          "page");
}

namespace {

// The columns in which two pictures of the same size differ: what one draws and the other
// does not.
std::pair<int, int> differingColumns(const QImage &a, const QImage &b)
{
    int first = a.width();
    int last = -1;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return { first, last };
}

} // namespace

// "mm", the widest unit, drawn whole at the design's width (630 twips); the suite runs again
// at 1.5 and 2 device pixels a pixel.
void tst_PageSetupDialog::unitsShowWhole()
{
    open();
    QComboBox *units = m_dialog->unitSelector();
    QCOMPARE(units->width(), twipsToPixels(630));
    const QSignalBlocker quiet(units);
    units->setCurrentIndex(1);
    const QString text = units->currentText();
    const QImage shown = units->grab().toImage();
    units->setItemText(1, QString());
    const QImage arrowOnly = units->grab().toImage();
    units->setItemText(1, text);
    const qreal ratio = shown.devicePixelRatio();
    QImage whole(QSize(200, 60) * ratio, QImage::Format_ARGB32);
    whole.setDevicePixelRatio(ratio);
    whole.fill(Qt::white);
    const QImage blank = whole;
    QPainter painter(&whole);
    painter.setFont(units->font());
    painter.drawText(QPointF(20, 40), text);
    painter.end();

    // As wide as the whole text drawn alone (a column either way where a pixel is not a whole
    // number of device pixels).
    const auto [textFirst, textLast] = differingColumns(shown, arrowOnly);
    const auto [wholeFirst, wholeLast] = differingColumns(whole, blank);
    QVERIFY2(
        textLast - textFirst >= wholeLast - wholeFirst - 1,
        qPrintable(
            u"%1 columns of %2"_s.arg(textLast - textFirst + 1).arg(wholeLast - wholeFirst + 1)));
    // And it keeps clear of the arrow: the arrow's darkest columns lie right of it.
    int arrowFirst = shown.width();
    const int frame = int(3 * ratio);
    for (int y = frame; y < arrowOnly.height() - frame; ++y) {
        for (int x = textLast + 1; x < arrowOnly.width() - frame; ++x) {
            if (qGray(arrowOnly.pixel(x, y)) < 160)
                arrowFirst = std::min(arrowFirst, x);
        }
    }
    QVERIFY2(
        arrowFirst < shown.width() && textLast < arrowFirst,
        qPrintable(u"text %1-%2, arrow from %3"_s.arg(textFirst).arg(textLast).arg(arrowFirst)));
}

QTEST_MAIN(tst_PageSetupDialog)
#include "tst_pagesetupdialog.moc"
