#include "catalogue/textmeasure.h"

#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;

class tst_TextMeasure : public QObject
{
    Q_OBJECT

private slots:
    void sameAsWholeMeasurement_data();
    void sameAsWholeMeasurement();
    void sameOnAPrinterDevice();
    void fontSizeKeptInRange_data();
    void fontSizeKeptInRange();
    void kernedFontMeasuredWhole();
};

void tst_TextMeasure::sameAsWholeMeasurement_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("text");

    const QList<QPair<const char *, QString>> texts {
        { "empty", QString() },
        { "catalogue name", u"IMG_20260612_holiday photo.jpeg"_s },
        { "pairs a kerning font would close up", u"AVAVA To Wa 1111 Yo"_s },
        { "ligature candidates", u"office affine waffle fjord"_s },
        { "grouped size with a narrow no-break space", u"1\u202f234\u202f567"_s },
        { "date and time", u"12/6/26   1:04:05 PM"_s },
        { "Latin-1 and Latin Extended",
          u"\u00e9t\u00e9 \u00df \u00c5ngstr\u00f6m \u0142\u00f3d\u017a"_s },
        { "Greek and Cyrillic", u"\u03a9\u03bc\u03ad\u03b3\u03b1 \u0416\u0443\u043a"_s },
        { "combining mark measured whole", u"e\u0301le\u0300ve"_s },
        { "CJK falls back to another face", u"\u5199\u771f 2026.jpg"_s },
        { "Arabic is shaped", u"\u0645\u0644\u0641.txt"_s },
        { "outside the BMP", u"smile \U0001F600.png"_s },
        { "escaped control characters", u"bad\\x01\\n.txt"_s },
    };
    for (const char *family : { "Arial", "MS Sans Serif", "Courier New" }) {
        for (const auto &[tag, text] : texts) {
            QTest::addRow("%s 10: %s", family, tag)
                << QString::fromLatin1(family) << 10.0 << false << text;
        }
        QTest::addRow("%s 8.25 bold: catalogue name", family)
            << QString::fromLatin1(family) << 8.25 << true << u"IMG_20260612_holiday.jpeg"_s;
    }
}

void tst_TextMeasure::sameAsWholeMeasurement()
{
    QFETCH(QString, family);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(QString, text);

    const QFont font = outputFont(family, points, bold, false, false, false);
    const TextMeasure measure(font);
    const QFontMetricsF metrics(font);
    // Twice: the second time from the kept advances.
    QCOMPARE(measure.horizontalAdvance(text), metrics.horizontalAdvance(text));
    QCOMPARE(measure.horizontalAdvance(text), metrics.horizontalAdvance(text));
    QCOMPARE(measure.height(), metrics.height());
    QCOMPARE(measure.ascent(), metrics.ascent());
}

void tst_TextMeasure::sameOnAPrinterDevice()
{
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath(u"measure.pdf"_s));
    pdf.setResolution(1200);
    const QFont font = outputFont(u"Arial"_s, 10, false, true, false, false);
    const TextMeasure measure(font, &pdf);
    const QFontMetricsF metrics(font, &pdf);
    for (const QString &text :
         { u"IMG_20260612_holiday photo.jpeg"_s, u"AVAVA 1111"_s, u"\u5199\u771f.jpg"_s }) {
        QCOMPARE(measure.horizontalAdvance(text), metrics.horizontalAdvance(text));
    }
    // At 1200 dots an inch the same text is far wider in dots than on a 96 DPI screen.
    QVERIFY(measure.horizontalAdvance(u"alpha"_s)
            > 10 * TextMeasure(font).horizontalAdvance(u"alpha"_s));
}

void tst_TextMeasure::fontSizeKeptInRange_data()
{
    QTest::addColumn<double>("asked");
    QTest::addColumn<double>("given");
    QTest::newRow("ordinary") << 10.0 << 10.0;
    QTest::newRow("fraction kept") << 8.25 << 8.25;
    QTest::newRow("zero") << 0.0 << 1.0;
    QTest::newRow("negative") << -12.0 << 1.0;
    QTest::newRow("absurdly large") << 1e9 << 2048.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1.0;
}

void tst_TextMeasure::fontSizeKeptInRange()
{
    QFETCH(double, asked);
    QFETCH(double, given);
    const QFont font = outputFont(u"Arial"_s, asked, false, false, false, false);
    QCOMPARE(font.pointSizeF(), given);
    QCOMPARE(font.kerning(), false);
    QVERIFY(font.styleStrategy() & QFont::PreferNoShaping);
}

void tst_TextMeasure::kernedFontMeasuredWhole()
{
    // A font set up elsewhere, with kerning, is still measured exactly.
    QFont font(u"Arial"_s);
    font.setPointSizeF(10);
    const TextMeasure measure(font);
    const QFontMetricsF metrics(font);
    for (const QString &text : { u"AVAVA To Wa"_s, u"1111"_s })
        QCOMPARE(measure.horizontalAdvance(text), metrics.horizontalAdvance(text));
}

QTEST_MAIN(tst_TextMeasure)
#include "tst_textmeasure.moc"
