#include "browse/folderbrowserview.h"
#include "browse/meterwidget.h"
#include "platform/drives.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "platform/scratchfolder.h"

using namespace qm;
using namespace Qt::StringLiterals;

class tst_FolderBrowserView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startRefreshesInOrder();
    void startFallsBackFromAGoneFolder();
    void typingRefreshesPerKeystroke();
    void greyBoxCountsAsOn_data();
    void greyBoxCountsAsOn();
    void allBoxesOffEmptiesTheList();
    void totalsAreGrouped();
    void folderActivationGoesThere();
    void driveThatCannotBeOpenedReverts();
    void statusStripAndMeter();

private:
    QByteArray path(const QByteArray &name) const { return m_folder->path() + '/' + name; }
    void makeFile(const QByteArray &name, qint64 size);
    QStringList shownFiles() const;

    std::unique_ptr<test::ScratchFolder> m_folder;
    std::unique_ptr<QWidget> m_client;
    FolderBrowserView *m_view = nullptr;
};

void tst_FolderBrowserView::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QDir::tempPath() + u"/quillmark-test-settings"_s);
}

void tst_FolderBrowserView::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_folder = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_folder->isValid());
    makeFile("a.txt", 100);
    makeFile("b.doc", 20);
    makeFile(".hidden", 3);
    QVERIFY(QDir().mkpath(m_folder->text() + u"/Sub/deeper"_s));

    m_client = std::make_unique<QWidget>();
    m_client->resize(twipsToPixels(7830), twipsToPixels(5805));
    m_view = new FolderBrowserView(m_client.get());
}

void tst_FolderBrowserView::cleanup()
{
    m_client.reset();
    m_folder.reset();
}

void tst_FolderBrowserView::makeFile(const QByteArray &name, qint64 size)
{
    QFile file(QFile::decodeName(path(name)));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(size));
}

QStringList tst_FolderBrowserView::shownFiles() const
{
    QStringList names;
    const QAbstractItemModel *model = m_view->fileList()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

void tst_FolderBrowserView::startRefreshesInOrder()
{
    QStringList refreshedFolders;
    connect(m_view, &FolderBrowserView::refreshed, this,
            [&] { refreshedFolders << m_view->currentFolder(); });
    m_view->start(m_folder->text());

    // The pattern first (whatever folder is current), then the drive, then the folder.
    QCOMPARE(refreshedFolders.size(), 3);
    QCOMPARE(refreshedFolders.at(1), driveOf(m_folder->text()));
    QCOMPARE(refreshedFolders.at(2), m_folder->text());
    QCOMPARE(m_view->currentFolder(), m_folder->text());

    QCOMPARE(m_view->patternBox()->currentText(), u"*.*"_s);
    QCOMPARE(m_view->patternBox()->count(), 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(m_view->patternBox()->itemText(i), FolderBrowserView::patterns().at(i));
    QCOMPARE(m_view->patternBox()->itemText(5), u"*.tga;*.pc*;*.rle"_s);
    for (auto box :
         { FolderBrowserView::NormalBox, FolderBrowserView::HiddenBox, FolderBrowserView::SystemBox,
           FolderBrowserView::ReadOnlyBox, FolderBrowserView::ArchiveBox })
        QCOMPARE(m_view->attributeBox(box)->checkState(), Qt::Checked);
    QCOMPARE(m_view->driveList()->currentText(), driveOf(m_folder->text()));
    QCOMPARE(shownFiles(), (QStringList { u".hidden"_s, u"a.txt"_s, u"b.doc"_s }));
    QCOMPARE(m_view->fileSource().count(), qint64(3));
    QCOMPARE(m_view->fileCountPanel()->text(), u"3"_s);
    QCOMPARE(m_view->byteTotalPanel()->text(), u"123"_s);
    QVERIFY(!QApplication::overrideCursor());
}

void tst_FolderBrowserView::startFallsBackFromAGoneFolder()
{
    m_view->start(m_folder->text() + u"/Sub/gone/too"_s);
    QCOMPARE(m_view->currentFolder(), m_folder->text() + u"/Sub"_s);

    m_view->start(QString());
    QCOMPARE(m_view->currentFolder(), QDir::homePath());
}

void tst_FolderBrowserView::typingRefreshesPerKeystroke()
{
    m_view->start(m_folder->text());
    m_view->patternBox()->setEditText(QString());

    QStringList appliedPatterns;
    connect(m_view, &FolderBrowserView::refreshed, this,
            [&] { appliedPatterns << m_view->browser().pattern(); });
    QTest::keyClicks(m_view->patternBox()->lineEdit(), u"*.t"_s);

    QCOMPARE(appliedPatterns, (QStringList { u"*"_s, u"*."_s, u"*.t"_s }));
    // The partial pattern filters by exactly what is there.
    QCOMPARE(shownFiles(), QStringList());
    QTest::keyClicks(m_view->patternBox()->lineEdit(), u"xt"_s);
    QCOMPARE(shownFiles(), QStringList { u"a.txt"_s });

    // A pick from the list applies that pattern once.
    appliedPatterns.clear();
    m_view->patternBox()->setCurrentIndex(7);
    QCOMPARE(appliedPatterns, QStringList { u"*.doc;*.dot"_s });
    QCOMPARE(shownFiles(), QStringList { u"b.doc"_s });
}

void tst_FolderBrowserView::greyBoxCountsAsOn_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("hiddenShown");
    QTest::newRow("checked") << int(Qt::Checked) << true;
    QTest::newRow("grey") << int(Qt::PartiallyChecked) << true;
    QTest::newRow("unchecked") << int(Qt::Unchecked) << false;
}

void tst_FolderBrowserView::greyBoxCountsAsOn()
{
    QFETCH(int, state);
    QFETCH(bool, hiddenShown);
    m_view->start(m_folder->text());
    QCheckBox *hidden = m_view->attributeBox(FolderBrowserView::HiddenBox);
    hidden->setCheckState(Qt::Unchecked);
    QVERIFY(!shownFiles().contains(u".hidden"_s));

    QSignalSpy refreshed(m_view, &FolderBrowserView::refreshed);
    hidden->setCheckState(Qt::CheckState(state));
    QCOMPARE(refreshed.size(), state == Qt::Unchecked ? 0 : 1);
    QCOMPARE(shownFiles().contains(u".hidden"_s), hiddenShown);
}

void tst_FolderBrowserView::allBoxesOffEmptiesTheList()
{
    m_view->start(m_folder->text());
    QSignalSpy refreshed(m_view, &FolderBrowserView::refreshed);
    for (auto box :
         { FolderBrowserView::NormalBox, FolderBrowserView::HiddenBox, FolderBrowserView::SystemBox,
           FolderBrowserView::ReadOnlyBox, FolderBrowserView::ArchiveBox })
        QTest::mouseClick(m_view->attributeBox(box), Qt::LeftButton);
    QCOMPARE(refreshed.size(), 5);
    QCOMPARE(shownFiles(), QStringList());
    QCOMPARE(m_view->fileCountPanel()->text(), u"0"_s);
    QCOMPARE(m_view->byteTotalPanel()->text(), u"0"_s);

    QTest::mouseClick(m_view->attributeBox(FolderBrowserView::NormalBox), Qt::LeftButton);
    QCOMPARE(shownFiles(), (QStringList { u"a.txt"_s, u"b.doc"_s }));
}

void tst_FolderBrowserView::totalsAreGrouped()
{
    makeFile("big.bin", 1234567 - 123);
    m_view->start(m_folder->text());
    QCOMPARE(m_view->byteTotalPanel()->text(), u"1,234,567"_s);
    QCOMPARE(m_view->fileCountPanel()->text(), u"4"_s);

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_view->refresh();
    QCOMPARE(m_view->byteTotalPanel()->text(), u"1.234.567"_s);
}

void tst_FolderBrowserView::folderActivationGoesThere()
{
    m_view->start(m_folder->text());
    const QAbstractItemModel *folders = m_view->folderList()->model();
    int subRow = -1;
    for (int row = 0; row < folders->rowCount(); ++row) {
        if (folders->index(row, 0).data().toString() == u"Sub")
            subRow = row;
    }
    QVERIFY(subRow > 0);
    QCOMPARE(m_view->folderList()->currentIndex().row(), subRow - 1);

    QSignalSpy refreshed(m_view, &FolderBrowserView::refreshed);
    emit m_view->folderList()->activated(folders->index(subRow, 0));
    QCOMPARE(refreshed.size(), 1);
    QCOMPARE(m_view->currentFolder(), m_folder->text() + u"/Sub"_s);
    QCOMPARE(shownFiles(), QStringList());
    const int current = m_view->folderList()->currentIndex().row();
    QCOMPARE(folders->index(current, 0).data().toString(), u"Sub"_s);
    QCOMPARE(folders->index(current + 1, 0).data().toString(), u"deeper"_s);

    // Back up through an ancestor.
    emit m_view->folderList()->activated(folders->index(current - 1, 0));
    QCOMPARE(m_view->currentFolder(), m_folder->text());
}

void tst_FolderBrowserView::driveThatCannotBeOpenedReverts()
{
    m_view->start(m_folder->text());
    QComboBox *drives = m_view->driveList();
    drives->addItem(m_folder->text() + u"/no-such-drive"_s);
    const int missing = drives->count() - 1;
    drives->setCurrentIndex(missing);

    QSignalSpy refreshed(m_view, &FolderBrowserView::refreshed);
    emit drives->activated(missing);
    QCOMPARE(refreshed.size(), 0);
    QCOMPARE(drives->currentText(), driveOf(m_folder->text()));
    QCOMPARE(m_view->currentFolder(), m_folder->text());
    QCOMPARE(shownFiles().size(), 3);

    // Picking the drive already shown changes nothing.
    const int current = drives->findText(driveOf(m_folder->text()));
    emit drives->activated(current);
    QCOMPARE(refreshed.size(), 0);
    QCOMPARE(m_view->currentFolder(), m_folder->text());
}

void tst_FolderBrowserView::statusStripAndMeter()
{
    m_client->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_client.get()));
    m_client->resize(m_client->width(), m_client->height() + 40);
    QWidget *strip = m_view->statusStrip();
    QCOMPARE(strip->geometry().bottom(), m_client->height() - 1);
    QCOMPARE(strip->width(), m_client->width());

    m_view->setStatusText(u"Writing"_s);
    QCOMPARE(m_view->statusPanel()->text(), u"Writing"_s);

    const QColor bar(128, 0, 128);
    const QColor back(192, 192, 192);
    MeterWidget *meter = m_view->meter();
    QCOMPARE(meter->scaleWidth(), 2685);
    const QPoint blockCentre(twipsToPixels(90), twipsToPixels(90));
    const QPoint gapCentre(twipsToPixels(150), twipsToPixels(90));

    m_view->drawMeter(2, bar, back, 100);
    QCOMPARE(meter->picture().pixelColor(blockCentre), bar);
    QVERIFY(meter->picture().pixelColor(gapCentre) != bar);
    m_view->drawMeter(0, bar, back, 0);
    QCOMPARE(meter->picture().pixelColor(blockCentre), back);
}

QTEST_MAIN(tst_FolderBrowserView)
#include "tst_folderbrowserview.moc"
