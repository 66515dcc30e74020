#include "app/runstate.h"
#include "pagesetup/pagesetuprules.h"
#include "pagesetup/pagesetupsession.h"
#include "platform/scriptedquestions.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;

Q_DECLARE_METATYPE(qm::PageSetupField)

namespace {

const QStringList FieldNames { u"Left"_s, u"Right"_s, u"Top"_s,     u"Bottom"_s,
                               u"Name"_s, u"Size"_s,  u"DateTime"_s };

// Every field's text as "Left=4.00 Right=4.00 ..." in tab order.
QString shownTexts(const PageSetupSession &session)
{
    QStringList texts;
    for (int i = 0; i < PageSetupFieldCount; ++i)
        texts << FieldNames[i] + u'=' + session.shownText(PageSetupField(i));
    return texts.join(u' ');
}

QString sharesText(const PrintSettings &print)
{
    return shareText(print.column0) + u'/' + shareText(print.column1) + u'/'
        + shareText(print.column2);
}

} // namespace

class tst_PageSetupRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void minimumsFromThePrinter_data();
    void minimumsFromThePrinter();
    void marginCommit_data();
    void marginCommit();
    void columnCommit_data();
    void columnCommit();
    void keyFilter_data();
    void keyFilter();

    void openingShowsTheSettings_data();
    void openingShowsTheSettings();
    void typedTextsReadTheirLeadingNumber_data();
    void typedTextsReadTheirLeadingNumber();
    void passingThroughAFieldChangesNothing_data();
    void passingThroughAFieldChangesNothing();
    void fontButton_data();
    void fontButton();
};

void tst_PageSetupRules::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // "," would be wrong here
}

void tst_PageSetupRules::minimumsFromThePrinter_data()
{
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<QSizeF>("printable");
    QTest::addColumn<double>("horizontal");
    QTest::addColumn<double>("vertical");
    QTest::newRow("axes differ, odd excess halves")
        << QSizeF(12240, 15840) << QSizeF(11819, 15120) << 210.5 << 360.0;
    QTest::newRow("printable beyond the paper")
        << QSizeF(12240, 15840) << QSizeF(12300, 16000) << 0.0 << 0.0;
    QTest::newRow("absurd paper stays in 16 bits")
        << QSizeF(1e9, 1e9) << QSizeF(0, 0) << 32767.0 << 32767.0;
}

void tst_PageSetupRules::minimumsFromThePrinter()
{
    QFETCH(QSizeF, paper);
    QFETCH(QSizeF, printable);
    QFETCH(double, horizontal);
    QFETCH(double, vertical);
    QCOMPARE(marginMinimums(paper, printable), (MarginMinimums { horizontal, vertical }));
}

void tst_PageSetupRules::marginCommit_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<int>("twips");
    QTest::addColumn<QString>("shown"); // the stored margin shown again in the unit
    QTest::newRow("2 cm") << 2.0 << u"cm"_s << 0.0 << 1134 << u"2.00"_s;
    QTest::newRow("20 mm") << 20.0 << u"mm"_s << 0.0 << 1134 << u"20.00"_s;
    QTest::newRow("0.79 in") << 0.79 << u"in"_s << 0.0 << 1138 << u"0.79"_s;
    QTest::newRow("9 cm capped at 3000") << 9.0 << u"cm"_s << 0.0 << 3000 << u"5.29"_s;
    QTest::newRow("just below the cap") << 5.29 << u"cm"_s << 0.0 << 2999 << u"5.29"_s;
    QTest::newRow("beyond 16 bits capped, not wrapped")
        << 1e6 << u"cm"_s << 0.0 << 3000 << u"5.29"_s;
    QTest::newRow("half twip to even, down") << 0.5 << u"cm"_s << 0.0 << 284 << u"0.50"_s;
    QTest::newRow("half twip to even, up") << 1.5 << u"cm"_s << 0.0 << 850 << u"1.50"_s;
    QTest::newRow("zero is the minimum") << 0.0 << u"cm"_s << 200.0 << 200 << u"0.35"_s;
    QTest::newRow("negative is the minimum") << -3.0 << u"cm"_s << 200.0 << 200 << u"0.35"_s;
    QTest::newRow("no printer: negative is zero") << -1.0 << u"cm"_s << 0.0 << 0 << u"0.00"_s;
    QTest::newRow("minimum rounds half to even") << 0.0 << u"cm"_s << 283.5 << 284 << u"0.50"_s;
    QTest::newRow("minimum wins over the cap") << 9.0 << u"cm"_s << 3500.0 << 3500 << u"6.17"_s;
}

void tst_PageSetupRules::marginCommit()
{
    QFETCH(double, value);
    QFETCH(QString, unit);
    QFETCH(double, minimum);
    QFETCH(int, twips);
    QFETCH(QString, shown);
    const float factor = *unitFactorOf(unit);
    const int stored = committedMargin(value, factor, minimum);
    QCOMPARE(stored, twips);
    QCOMPARE(marginText(stored, factor), shown);
}

void tst_PageSetupRules::columnCommit_data()
{
    QTest::addColumn<float>("name");
    QTest::addColumn<PageSetupField>("field");
    QTest::addColumn<double>("percent");
    QTest::addColumn<QString>("shown");
    const auto name = PageSetupField::Name;
    const auto size = PageSetupField::Size;
    const auto date = PageSetupField::DateTime;
    QTest::newRow("name above 70") << 0.6f << name << 80.0 << u"70/15/15"_s;
    QTest::newRow("name below 20") << 0.6f << name << 10.0 << u"20/40/40"_s;
    QTest::newRow("name not a number") << 0.6f << name << 0.0 << u"20/40/40"_s;
    QTest::newRow("name inside, rest halved") << 0.6f << name << 50.0 << u"50/25/25"_s;
    QTest::newRow("name at its upper limit") << 0.6f << name << 70.0 << u"70/15/15"_s;
    QTest::newRow("size above 1 - name - 15") << 0.6f << size << 30.0 << u"60/25/15"_s;
    QTest::newRow("size below 15") << 0.6f << size << 5.0 << u"60/15/25"_s;
    QTest::newRow("date above 1 - name - 15") << 0.6f << date << 30.0 << u"60/15/25"_s;
    QTest::newRow("date below 15") << 0.6f << date << 5.0 << u"60/25/15"_s;
    // With a name share above 70 the limits cross: the lower one is tested first.
    QTest::newRow("crossed limits, between them") << 0.75f << size << 12.0 << u"75/15/10"_s;
    QTest::newRow("crossed limits, above both") << 0.75f << date << 20.0 << u"75/15/10"_s;
}

void tst_PageSetupRules::columnCommit()
{
    QFETCH(float, name);
    QFETCH(PageSetupField, field);
    QFETCH(double, percent);
    QFETCH(QString, shown);
    const float rest = (1 - name) / 2;
    const ColumnShares after = committedShare({ name, rest, rest }, field, percent / 100);
    QCOMPARE(shareText(after.name) + u'/' + shareText(after.size) + u'/'
                 + shareText(after.dateTime),
             shown);
    QVERIFY(qAbs(double(after.name) + after.size + after.dateTime - 1) < 1e-6);
}

void tst_PageSetupRules::keyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<bool>("passes");
    QTest::newRow("keypad digit") << int(Qt::Key_5) << true << true;
    QTest::newRow("point") << int(Qt::Key_Period) << false << true;
    QTest::newRow("keypad decimal comma") << int(Qt::Key_Comma) << true << true;
    QTest::newRow("comma") << int(Qt::Key_Comma) << false << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << false << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false << true;
    QTest::newRow("Left") << int(Qt::Key_Left) << false << true;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << false << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << false << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false << false;
    QTest::newRow("Up") << int(Qt::Key_Up) << false << false;
}

void tst_PageSetupRules::keyFilter()
{
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(bool, passes);
    QCOMPARE(pageSetupKeyPasses(key, keypad ? Qt::KeypadModifier : Qt::NoModifier), passes);
}

void tst_PageSetupRules::openingShowsTheSettings_data()
{
    QTest::addColumn<QString>("measurement");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("shown");
    QTest::newRow("stored defaults")
        << u"cm"_s << u"cm"_s
        << u"Left=4.00 Right=4.00 Top=2.00 Bottom=2.00 Name=60 Size=15 DateTime=25"_s;
    QTest::newRow("unknown unit becomes cm")
        << u"CM"_s << u"cm"_s
        << u"Left=4.00 Right=4.00 Top=2.00 Bottom=2.00 Name=60 Size=15 DateTime=25"_s;
}

void tst_PageSetupRules::openingShowsTheSettings()
{
    QFETCH(QString, measurement);
    QFETCH(QString, selector);
    QFETCH(QString, shown);
    RunState state;
    state.printSettings.measurement = measurement;
    state.printSettings.unitFactor = 0; // whatever start-up left, the opening sets it
    PageSetupSession session(state, {});
    QCOMPARE(session.selectorUnit(), selector);
    session.open();
    QCOMPARE(shownTexts(session), shown);
    QCOMPARE(state.printSettings.measurement, selector);
    QCOMPARE(state.printSettings.unitFactor, *unitFactorOf(selector));
    QVERIFY(state.settingsChanged); // opening alone raises it
}

void tst_PageSetupRules::typedTextsReadTheirLeadingNumber_data()
{
    QTest::addColumn<PageSetupField>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("twips"); // the margin, or the share in hundredths
    QTest::addColumn<QString>("shown");
    const auto top = PageSetupField::Top;
    const auto left = PageSetupField::Left;
    QTest::newRow("0 is the vertical minimum") << top << u"0"_s << 150 << u"0.26"_s;
    QTest::newRow("0 left is the horizontal minimum") << left << u"0"_s << 200 << u"0.35"_s;
    QTest::newRow("not a number") << top << u"abc"_s << 150 << u"0.26"_s;
    QTest::newRow("number then letters") << top << u"3cm"_s << 1701 << u"3.00"_s;
    QTest::newRow("a comma ends it") << top << u"1,5"_s << 567 << u"1.00"_s;
    QTest::newRow("share with letters") << PageSetupField::Name << u"65%"_s << 65 << u"65"_s;
}

void tst_PageSetupRules::typedTextsReadTheirLeadingNumber()
{
    QFETCH(PageSetupField, field);
    QFETCH(QString, typed);
    QFETCH(int, twips);
    QFETCH(QString, shown);
    RunState state;
    PageSetupSession session(state, MarginMinimums { 200, 150 });
    session.open();
    session.commit(field, typed);
    QCOMPARE(session.shownText(field), shown);
    const PrintSettings &print = state.printSettings;
    const int value = field == PageSetupField::Top ? print.topMargin
        : field == PageSetupField::Left            ? print.leftMargin
        : field == PageSetupField::Name            ? qRound(print.column0 * 100)
                                                   : qRound(print.column1 * 100);
    QCOMPARE(value, twips);
}

void tst_PageSetupRules::passingThroughAFieldChangesNothing_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<PageSetupField>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shares");
    QTest::addColumn<int>("leftTwips");
    // 3000 twips shows 5.29 cm, which read back would be 2999.
    QTest::newRow("capped margin")
        << u"cm"_s << PageSetupField::Left << u"9"_s << u"60/15/25"_s << 3000;
    // 2268 twips shows 1.58 in, which read back would be 2275.
    QTest::newRow("margin in inches")
        << u"in"_s << PageSetupField::Left << QString() << u"60/15/25"_s << 2268;
    // Read back, 60 would share out the rest equally.
    QTest::newRow("name share") << u"cm"_s << PageSetupField::Name << QString() << u"60/15/25"_s
                                << 2268;
    // 65 splits the rest 17.5/17.5, shown 18/18; read back, 18 would make it 18/17.
    QTest::newRow("shown rounded share")
        << u"cm"_s << PageSetupField::Name << u"65"_s << u"65/18/18"_s << 2268;
}

void tst_PageSetupRules::passingThroughAFieldChangesNothing()
{
    QFETCH(QString, unit);
    QFETCH(PageSetupField, field);
    QFETCH(QString, typed);
    QFETCH(QString, shares);
    QFETCH(int, leftTwips);
    RunState state;
    PageSetupSession session(state, {});
    session.open();
    session.chooseUnit(unit);
    if (!typed.isNull())
        session.commit(field, typed); // Enter after typing...
    const PrintSettings before = state.printSettings;
    for (int i = 0; i < PageSetupFieldCount; ++i) // ...then Tab through every field
        session.commit(PageSetupField(i), session.shownText(PageSetupField(i)));
    QCOMPARE(sharesText(state.printSettings), shares);
    QCOMPARE(int(state.printSettings.leftMargin), leftTwips);
    QCOMPARE(state.printSettings.column1, before.column1);
    QCOMPARE(state.printSettings.column2, before.column2);
}

void tst_PageSetupRules::fontButton_data()
{
    QTest::addColumn<double>("chosen"); // points; negative: the chooser is cancelled
    QTest::addColumn<bool>("previewReady");
    QTest::addColumn<bool>("redraw");
    QTest::addColumn<double>("stored");
    QTest::newRow("72 points over a preview, capped") << 72.0 << true << true << 48.0;
    QTest::newRow("48 points kept, nothing previewed") << 48.0 << false << false << 48.0;
    QTest::newRow("just above 48 capped") << 48.5 << false << false << 48.0;
    QTest::newRow("no size keeps the old one") << 0.0 << false << false << 10.0;
    QTest::newRow("chooser cancelled over a preview") << -1.0 << true << false << 10.0;
}

void tst_PageSetupRules::fontButton()
{
    QFETCH(double, chosen);
    QFETCH(bool, previewReady);
    RunState state;
    state.previewReady = previewReady;
    state.catalogueFont.italic = true;
    state.catalogueFont.underline = true;
    state.catalogueColour = 0x00808000;
    ScriptedQuestions questions;
    const FontChoice choice { u"Liberation Serif"_s, chosen, false, false, false, true, 0xFF };
    questions.answerFont(chosen >= 0 ? std::optional(choice) : std::nullopt);
    PageSetupSession session(state, {});
    session.open();
    state.settingsChanged = false;

    QTEST(session.chooseFont(questions), "redraw");
    // The chooser is preset to the catalogue font and colour.
    QCOMPARE(questions.log(),
             QStringList { u"font \"Arial\" 10 italic underline colour=8421376"_s });
    const bool taken = chosen >= 0;
    QCOMPARE(state.settingsChanged, taken);
    QCOMPARE(state.catalogueFont.name, taken ? u"Liberation Serif"_s : u"Arial"_s);
    QTEST(state.catalogueFont.size, "stored");
    QCOMPARE(state.catalogueFont.strikethru, taken);
    QCOMPARE(state.catalogueFont.italic, !taken);
    QCOMPARE(state.catalogueColour, taken ? 0xFF : 0x00808000);
    QCOMPARE(fontChoiceOf(state.catalogueFont, state.catalogueColour).size,
             state.catalogueFont.size);
}

QTEST_GUILESS_MAIN(tst_PageSetupRules)
#include "tst_pagesetuprules.moc"
