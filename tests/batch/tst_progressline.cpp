#include "batch/progressline.h"

#include <QColor>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace qm;

class tst_ProgressLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void line_data();
    void line();
    void summary_data();
    void summary();
};

void tst_ProgressLine::line_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("events"); // split at '|'
    QTest::addColumn<QString>("shown"); // "~" stands for the wipe
    const QString save = u"status Saving|meter 10|meter 15|reset|status "_s;
    QTest::newRow("meter steps, wiped at the reset")
        << true << 0 << save << u"~Saving 10%~Saving 15%~"_s;
    QTest::newRow("not a terminal, or --quiet: nothing at all") << false << 0 << save << QString();
    QTest::newRow("a quick run shows nothing") << true << 60000 << save << QString();
    QTest::newRow("folders at most ten times a second")
        << true << 0 << u"read |read photos/|clear"_s << u"~Reading .~"_s;
    QTest::newRow("a long folder keeps its end within the terminal")
        << true << 0 << u"read photos/2019/holiday/beach/img/"_s << u"~Reading ...y/beach/img/~"_s;
    QTest::newRow("a message wipes the line once")
        << true << 0 << u"status Printing|meter 35|clear|clear"_s << u"~Printing 35%~"_s;
}

void tst_ProgressLine::line()
{
    QFETCH(bool, enabled);
    QFETCH(int, delayMs);
    QFETCH(QString, events);
    QString shown;
    {
        ProgressLine progress(
            [&](QByteArrayView bytes) {
                shown += QString::fromUtf8(bytes).replace(u"\r\x1b[K"_s, u"~"_s);
            },
            enabled, 24, delayMs);
        for (const QString &event : events.split(u'|')) {
            const QString word = event.section(u' ', 0, 0), rest = event.section(u' ', 1);
            if (word == u"status")
                progress.setStatusText(rest);
            else if (word == u"meter")
                progress.drawMeter(2, Qt::black, Qt::gray, rest.toInt());
            else if (word == u"reset")
                progress.drawMeter(0, Qt::black, Qt::gray, 0);
            else if (word == u"read")
                progress.reading(rest);
            else
                progress.clear();
        }
    }
    QTEST(shown, "shown");
}

void tst_ProgressLine::summary_data()
{
    QTest::addColumn<qint64>("files");
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("line");
    QTest::newRow("grouped digits")
        << 1234LL << 5678901ULL << -1 << u"1,234 files, 5,678,901 bytes"_s;
    QTest::newRow("one of each") << 1LL << 1ULL << 1 << u"1 file, 1 byte, 1 page"_s;
    QTest::newRow("none") << 0LL << 0ULL << -1 << u"0 files, 0 bytes"_s;
    QTest::newRow("a total that saturated")
        << 2LL << ~0ULL << 3 << u"2 files, 18,446,744,073,709,551,615 bytes, 3 pages"_s;
}

void tst_ProgressLine::summary()
{
    QFETCH(qint64, files);
    QFETCH(quint64, bytes);
    QFETCH(int, pages);
    QTEST(summaryLine(files, bytes, pages), "line");
}

QTEST_GUILESS_MAIN(tst_ProgressLine)
#include "tst_progressline.moc"
