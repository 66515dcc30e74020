// The status strip on its own: totals that keep every digit within their panels.
#include "browse/folderbrowser.h"
#include "browse/statusstrip.h"
#include "platform/numbers.h"
#include "platform/twips.h"

#include <QLabel>
#include <QTest>

#include <limits>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_StatusStrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void totalsFitTheirPanels_data();
    void totalsFitTheirPanels();
};

void tst_StatusStrip::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_StatusStrip::totalsFitTheirPanels_data()
{
    QTest::addColumn<qint64>("files");
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<bool>("filesShrink"); // drawn smaller than the strip's own face
    QTest::addColumn<bool>("bytesShrink");
    QTest::newRow("small totals keep the face") << qint64(3) << quint64(6000) << false << false;
    QTest::newRow("largest file count: every digit, smaller")
        << std::numeric_limits<qint64>::max() << quint64(0) << true << false;
    QTest::newRow("saturated byte total: every digit, smaller")
        << qint64(0) << std::numeric_limits<quint64>::max() << false << true;
}

void tst_StatusStrip::totalsFitTheirPanels()
{
    QFETCH(qint64, files);
    QFETCH(quint64, bytes);
    QFETCH(bool, filesShrink);
    QFETCH(bool, bytesShrink);
    QWidget client;
    client.resize(twipsToPixels(7830), twipsToPixels(5805));
    StatusStrip strip(&client);
    const QFont face = strip.statusPanel()->font();
    QCOMPARE(QFontInfo(face).family(), u"Liberation Sans"_s);

    RefreshResult result;
    result.fileCount = files;
    result.byteTotal = bytes;
    strip.showRefresh(result);
    const auto check = [&face](QLabel *panel, const QString &text, bool shrink) {
        QCOMPARE(panel->text(), text);
        QCOMPARE(panel->font().pointSizeF() < face.pointSizeF(), shrink);
        QVERIFY2(QFontMetrics(panel->font()).horizontalAdvance(text)
                     < panel->contentsRect().width(),
                 qPrintable(u"%1 at %2 points"_s.arg(text).arg(panel->font().pointSizeF())));
    };
    check(strip.fileCountPanel(), groupedNumber(files), filesShrink);
    if (QTest::currentTestFailed())
        return;
    check(strip.byteTotalPanel(), groupedNumber(bytes), bytesShrink);
}

QTEST_MAIN(tst_StatusStrip)
#include "tst_statusstrip.moc"
