#include "app/runstate.h"
#include "catalogue/catalogfakes.h"
#include "catalogue/cataloguewriter.h"
#include "catalogue/previewpicture.h"
#include "platform/numbers.h"
#include "platform/twips.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

class tst_PreviewPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void redrawInAnotherColourReplaces();
    void redrawWithOtherTextReplaces_data();
    void redrawWithOtherTextReplaces();
    void clsEmptiesButKeepsFontAndColour();
    void itemsKeptInLineOrder();
    void textKeptExactly_data();
    void textKeptExactly();
    void printMovesToTheNextLine();
    void visibleItems_data();
    void visibleItems();
    void paintsOnlyWhatIsExposed();
    void emptyPictureInvitation();
    void boundedMemoryPerLine();
    void refreshAndUpdateHandlers();
};

void tst_PreviewPicture::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(screenTwipsPerPixel(), 15.0); // the offscreen screen has 96 DPI
}

void tst_PreviewPicture::redrawInAnotherColourReplaces()
{
    PreviewPicture picture;
    picture.setCurrentX(100);
    picture.setCurrentY(220);
    picture.print(u"alpha.txt"_s);
    picture.setForeColor(0x0000FF);
    picture.setCurrentX(100);
    picture.setCurrentY(220);
    picture.print(u"alpha.txt"_s);
    const qint64 memory = picture.memoryBytes();

    // Highlight and unhighlight many times over, as selecting lines does.
    for (int i = 0; i < 1000; ++i) {
        picture.setForeColor(i % 2 ? 0x000000 : 0x0000FF);
        picture.setCurrentX(100);
        picture.setCurrentY(220);
        picture.print(u"alpha.txt"_s);
    }
    picture.setForeColor(0x0000FF);
    picture.setCurrentX(100);
    picture.setCurrentY(220);
    picture.print(u"alpha.txt"_s);

    QCOMPARE(picture.itemCount(), 1);
    QCOMPARE(picture.item(0).colour, QColor(255, 0, 0));
    QCOMPARE(picture.item(0).text, u"alpha.txt"_s);
    QCOMPARE(picture.memoryBytes(), memory);
}

void tst_PreviewPicture::redrawWithOtherTextReplaces_data()
{
    QTest::addColumn<QString>("second");
    QTest::newRow("shorter text") << u"al"_s;
    QTest::newRow("same length") << u"bravo.txt"_s;
    QTest::newRow("longer text") << u"a much longer name.txt"_s;
    QTest::newRow("longer, outside ASCII") << u"\u00e9t\u00e9 \u2713 \U0001F600.txt"_s;
}

void tst_PreviewPicture::redrawWithOtherTextReplaces()
{
    QFETCH(QString, second);
    PreviewPicture picture;
    for (int line = 0; line < 3; ++line) {
        picture.setCurrentX(100);
        picture.setCurrentY(line * 220);
        picture.print(u"alpha.txt"_s);
    }
    picture.setCurrentX(100);
    picture.setCurrentY(220);
    picture.print(second);

    QCOMPARE(picture.itemCount(), 3);
    QCOMPARE(picture.item(0).text, u"alpha.txt"_s);
    QCOMPARE(picture.item(1).text, second);
    QCOMPARE(picture.item(2).text, u"alpha.txt"_s);
}

void tst_PreviewPicture::clsEmptiesButKeepsFontAndColour()
{
    PreviewPicture picture;
    picture.setFontName(u"Courier New"_s);
    picture.setFontSize(14);
    picture.setFontBold(true);
    picture.setForeColor(0x00800080);
    picture.setCurrentX(100);
    picture.setCurrentY(500);
    picture.print(u"alpha.txt"_s);
    picture.cls();

    QCOMPARE(picture.itemCount(), 0);
    QCOMPARE(picture.currentX(), 0.0);
    QCOMPARE(picture.currentY(), 0.0);
    QCOMPARE(picture.fontBold(), true);
    QCOMPARE(picture.fontSize(), 14.0);
    QCOMPARE(picture.foreColor(), 0x00800080);

    picture.print(u"bravo"_s);
    QCOMPARE(picture.itemCount(), 1);
    QCOMPARE(picture.item(0).colour, QColor(128, 0, 128));
    QCOMPARE(picture.item(0).font.bold(), true);
    QCOMPARE(picture.item(0).font.pointSizeF(), 14.0);
}

void tst_PreviewPicture::itemsKeptInLineOrder()
{
    PreviewPicture picture;
    const QList<QPair<double, double>> places { { 100, 440 },  { 5000, 0 },  { 100, 0 },
                                                { 3000, 220 }, { 100, 220 }, { 3000, 0 } };
    for (const auto &[x, y] : places) {
        picture.setCurrentX(x);
        picture.setCurrentY(y);
        picture.print(u"%1,%2"_s.arg(x).arg(y));
    }
    QStringList order;
    for (qint64 i = 0; i < picture.itemCount(); ++i)
        order << picture.item(i).text;
    QCOMPARE(order,
             (QStringList { u"100,0"_s, u"3000,0"_s, u"5000,0"_s, u"100,220"_s, u"3000,220"_s,
                            u"100,440"_s }));
}

void tst_PreviewPicture::textKeptExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII") << u"report 2026.txt"_s;
    QTest::newRow("accents and symbols") << u"na\u00efve \u2713 caf\u00e9"_s;
    QTest::newRow("outside the BMP") << u"\U0001F600 smile"_s;
    QTest::newRow("escaped name") << u"bad\\xff\\n.txt"_s;
    QTest::newRow("right-to-left letters") << u"\u05e9\u05dc\u05d5\u05dd.txt"_s;
}

void tst_PreviewPicture::textKeptExactly()
{
    QFETCH(QString, text);
    PreviewPicture picture;
    picture.print(text);
    QCOMPARE(picture.itemCount(), 1);
    QCOMPARE(picture.item(0).text, text);
}

void tst_PreviewPicture::printMovesToTheNextLine()
{
    PreviewPicture picture;
    picture.setCurrentX(300);
    picture.setCurrentY(100);
    const double height = picture.textHeight(u"x"_s);
    picture.print(QString());
    QCOMPARE(picture.itemCount(), 0); // nothing to see, nothing kept
    QCOMPARE(picture.currentX(), 0.0);
    QCOMPARE(picture.currentY(), 100 + height);
}

void tst_PreviewPicture::visibleItems_data()
{
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QRect>("exposed");
    QTest::addColumn<QStringList>("expected");

    // Lines every 300 twips (20 pixels), each text about 14 pixels tall; three columns at
    // x = 100, 3000 and 6000 twips (7, 200 and 400 pixels).
    QTest::newRow("first rows") << qint64(0) << QRect(0, 0, 500, 30)
                                << QStringList { u"a0"_s, u"b0"_s, u"c0"_s,
                                                 u"a1"_s, u"b1"_s, u"c1"_s };
    QTest::newRow("gap between lines touches nothing")
        << qint64(0) << QRect(0, 16, 500, 3) << QStringList {};
    QTest::newRow("a text's last pixel row")
        << qint64(0) << QRect(0, 13, 500, 1) << QStringList { u"a0"_s, u"b0"_s, u"c0"_s };
    QTest::newRow("scrolled far down") << qint64(-30000) << QRect(0, 0, 500, 10)
                                       << QStringList { u"a100"_s, u"b100"_s, u"c100"_s };
    QTest::newRow("narrow strip on the left")
        << qint64(-30000) << QRect(0, 0, 150, 30) << QStringList { u"a100"_s, u"a101"_s };
    QTest::newRow("strip between columns keeps texts starting left of it")
        << qint64(0) << QRect(300, 0, 50, 10) << QStringList { u"a0"_s, u"b0"_s };
    QTest::newRow("below the last line")
        << qint64(0) << QRect(0, 200 * 20, 500, 100) << QStringList {};
    QTest::newRow("empty rectangle") << qint64(0) << QRect() << QStringList {};
}

void tst_PreviewPicture::visibleItems()
{
    QFETCH(qint64, top);
    QFETCH(QRect, exposed);
    QFETCH(QStringList, expected);

    PreviewPicture picture;
    picture.setFontName(u"Arial"_s);
    picture.setFontSize(10);
    QVERIFY(picture.textHeight(u"x"_s) < 300);
    QVERIFY(picture.textHeight(u"x"_s) > 13 * 15);
    for (int line = 0; line < 200; ++line) {
        const QList<QPair<double, QString>> columns { { 100, u"a"_s },
                                                      { 3000, u"b"_s },
                                                      { 6000, u"c"_s } };
        for (const auto &[x, letter] : columns) {
            picture.setCurrentX(x);
            picture.setCurrentY(line * 300);
            picture.print(letter + QString::number(line));
        }
    }
    picture.setTop(top);

    QStringList found;
    for (const qint64 index : picture.itemsIn(exposed))
        found << picture.item(index).text;
    QCOMPARE(found, expected);
}

void tst_PreviewPicture::paintsOnlyWhatIsExposed()
{
    PreviewPicture picture;
    picture.setFontName(u"Arial"_s);
    picture.setFontSize(10);
    picture.setFontBold(true);
    for (int line = 0; line < 10; ++line) {
        picture.setCurrentX(150);
        picture.setCurrentY(line * 300);
        picture.print(u"MMMMMMMM"_s);
    }
    picture.setLeft(-75);
    picture.setTop(-600); // lines 2 and up are at the top

    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        picture.paint(painter, QRect(0, 0, 200, 40));
    }
    auto inkInRows = [&](int from, int to) {
        int ink = 0;
        for (int y = from; y < to; ++y)
            for (int x = 0; x < image.width(); ++x)
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        return ink;
    };
    auto inkInColumns = [&](int from, int to) {
        int ink = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = from; x < to; ++x)
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        return ink;
    };
    QVERIFY(inkInRows(0, 14) > 20); // line 2, moved up by 40 pixels
    QVERIFY(inkInRows(20, 34) > 20); // line 3
    QCOMPARE(inkInRows(50, 100), 0); // outside the exposed rows: not painted
    QCOMPARE(inkInColumns(0, 4), 0); // texts start at (150 - 75) / 15 = 5 pixels
    QVERIFY(inkInColumns(5, 9) > 0);
}

void tst_PreviewPicture::emptyPictureInvitation()
{
    PreviewPicture picture;
    picture.setFontName(u"Arial"_s);
    picture.setFontSize(10);
    picture.setForeColor(0x00008000);
    picture.setFontBold(false);
    FakeViewport viewport;
    emptyPicture(picture, viewport);

    QCOMPARE(picture.itemCount(), 1);
    const PreviewPicture::Item invitation = picture.item(0);
    QCOMPARE(invitation.text, u"Click on Preview to Display Quillmark"_s);
    QCOMPARE(invitation.colour, QColor(0, 0, 255));
    QVERIFY(invitation.font.bold());
    picture.setFontBold(true);
    const double width = picture.textWidth(invitation.text);
    const double height = picture.textHeight(invitation.text);
    picture.setFontBold(false);
    QCOMPARE(invitation.x, double(roundHalfEven((7515 - width) / 2)));
    QCOMPARE(invitation.y, double(roundHalfEven((2355 - height) / 2)));
    // Centred in the window, not in a larger picture.
    QVERIFY(qAbs(invitation.x + width / 2 - 7515 / 2.0) <= 1);

    // Colour and bold are the picture's own again.
    QCOMPARE(picture.foreColor(), 0x00008000);
    QCOMPARE(picture.fontBold(), false);
    QCOMPARE(picture.fontSize(), 10.0);
}

void tst_PreviewPicture::boundedMemoryPerLine()
{
    // A real catalogue of typical names, written by the catalogue writer.
    FakeSource source;
    const qint64 modified
        = QDateTime(QDate(2025, 3, 14), QTime(9, 26, 53), Qt::UTC).toSecsSinceEpoch();
    const int lines = 20000;
    for (int i = 0; i < lines; ++i)
        source.add(u"IMG_%1 holiday photo.jpeg"_s.arg(i, 5, 10, QLatin1Char('0')), 1000 * i + 7,
                   modified + i * 37);
    RunState state;
    state.pageWidth = 11906;
    state.pageHeight = 16838;
    FakeViewport viewport;
    RecordingHost host;
    PreviewPicture picture;
    CatalogueWriter(state, source, viewport, host).writePreview(picture);

    QCOMPARE(picture.itemCount(), 3 * lines);
    const double perLine = double(picture.memoryBytes()) / lines;
    QVERIFY2(perLine <= 200, qPrintable(u"%1 bytes per line"_s.arg(perLine)));

    picture.cls();
    QVERIFY(picture.memoryBytes() < 4096);
}

void tst_PreviewPicture::refreshAndUpdateHandlers()
{
    PreviewPicture picture;
    int refreshed = 0;
    int updates = 0;
    picture.setRefreshHandler([&] { ++refreshed; });
    picture.setUpdateHandler([&] { ++updates; });

    for (int i = 0; i < 50; ++i)
        picture.print(u"line"_s);
    QCOMPARE(updates, 1); // asked once until the view paints
    picture.refresh();
    QCOMPARE(refreshed, 1);

    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    picture.paint(painter, image.rect());
    picture.setTop(-300);
    QCOMPARE(updates, 2);
}

QTEST_MAIN(tst_PreviewPicture)
#include "tst_previewpicture.moc"
