#include "app/runstate.h"
#include "pagesetup/pagesetuprules.h"
#include "pagesetup/pagesetupsession.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;

Q_DECLARE_METATYPE(qm::PageSetupField)

class tst_PageSetupRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // "," would be wrong
    }
    void commitThenPassThrough_data();
    void commitThenPassThrough();
};

void tst_PageSetupRules::commitThenPassThrough_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<PageSetupField>("field");
    QTest::addColumn<QString>("typed"); // null: nothing typed
    QTest::addColumn<QString>("shown"); // every field in tab order, then left and top in twips
    const auto left = PageSetupField::Left, name = PageSetupField::Name;
    const auto size = PageSetupField::Size;
    QTest::newRow("defaults") << u"cm"_s << left << QString()
                              << u"4.00 4.00 2.00 2.00 60 15 25 2268 1134"_s;
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

void tst_PageSetupRules::commitThenPassThrough()
{
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

QTEST_GUILESS_MAIN(tst_PageSetupRules)
#include "tst_pagesetuprules.moc"
