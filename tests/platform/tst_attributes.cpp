#include "platform/attributes.h"
#include "platform/fileentry.h"

#include <QTest>

using namespace qm;

Q_DECLARE_METATYPE(qm::AttributeSwitches)

class tst_Attributes : public QObject
{
    Q_OBJECT

private slots:
    void rule_data();
    void rule();
};

namespace {

AttributeSwitches allOn()
{
    return AttributeSwitches { true, true, true, true, true };
}

AttributeSwitches without(bool AttributeSwitches::*member)
{
    AttributeSwitches switches = allOn();
    switches.*member = false;
    return switches;
}

} // namespace

void tst_Attributes::rule_data()
{
    QTest::addColumn<int>("attributes");
    QTest::addColumn<AttributeSwitches>("switches");
    QTest::addColumn<bool>("listed");

    QTest::newRow("normal file, all on") << 0 << allOn() << true;
    QTest::newRow("normal file, Normal off") << 0 << without(&AttributeSwitches::normal) << false;
    QTest::newRow("normal file, Hidden off") << 0 << without(&AttributeSwitches::hidden) << true;
    QTest::newRow("hidden file, all on") << int(AttrHidden) << allOn() << true;
    QTest::newRow("hidden file, Hidden off")
        << int(AttrHidden) << without(&AttributeSwitches::hidden) << false;
    QTest::newRow("hidden file, Normal off")
        << int(AttrHidden) << without(&AttributeSwitches::normal) << true;
    QTest::newRow("read-only file, Read Only off")
        << int(AttrReadOnly) << without(&AttributeSwitches::readOnly) << false;
    QTest::newRow("read-only file, System off")
        << int(AttrReadOnly) << without(&AttributeSwitches::system) << true;
    QTest::newRow("FIFO is system, System off")
        << int(AttrSystem) << without(&AttributeSwitches::system) << false;
    QTest::newRow("FIFO is system, all on") << int(AttrSystem) << allOn() << true;
    QTest::newRow("archive, Archive off")
        << int(AttrArchive) << without(&AttributeSwitches::archive) << false;
    QTest::newRow("hidden read-only, Read Only off")
        << int(AttrHidden | AttrReadOnly) << without(&AttributeSwitches::readOnly) << false;
    QTest::newRow("hidden read-only, only those two on")
        << int(AttrHidden | AttrReadOnly) << AttributeSwitches { false, true, false, true, false }
        << true;
    QTest::newRow("all five off, normal file")
        << 0 << AttributeSwitches { false, false, false, false, false } << false;
    QTest::newRow("all five off, hidden file")
        << int(AttrHidden) << AttributeSwitches { false, false, false, false, false } << false;
    QTest::newRow("only Normal on, hidden file")
        << int(AttrHidden) << AttributeSwitches { true, false, false, false, false } << false;
}

void tst_Attributes::rule()
{
    QFETCH(int, attributes);
    QFETCH(AttributeSwitches, switches);
    QFETCH(bool, listed);
    QCOMPARE(attributesMatch(quint8(attributes), switches), listed);
}

QTEST_APPLESS_MAIN(tst_Attributes)
#include "tst_attributes.moc"
