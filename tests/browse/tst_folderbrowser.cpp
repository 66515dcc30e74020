#include "browse/folderbrowser.h"
#include "browse/folderbrowserview.h"
#include "browse/nameorder.h"
#include "browse/recordingmetercanvas.h"
#include "browse/statusstrip.h"
#include "platform/drives.h"
#include "platform/numbers.h"
#include "platform/twips.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

#include "platform/scratchfolder.h"

using namespace qm;
using namespace Qt::StringLiterals;

class tst_FolderBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void nameOrder_data();
    void nameOrder();
    void countAndTotal();
    void fileListEntries();
    void folderList();
    void folderItemsFromTheDriveDown_data();
    void folderItemsFromTheDriveDown();
    void modelsKeepTheirContract();
    void deletedFolderFallsBack();
    void unreadableFolder();
    void meterFullThenEmpty();
    void meterBlocks_data();
    void meterBlocks();

    void viewKeysTypedDuringARefreshShareOne_data();
    void viewKeysTypedDuringARefreshShareOne();
    void viewAttributeBoxes();
    void viewDriveThatCannotBeOpenedReverts();
    void totalsFitTheirPanels_data();
    void totalsFitTheirPanels();

private:
    QByteArray path(const QByteArray &name) const { return m_root + '/' + name; }
    void makeFile(const QByteArray &name, qint64 size)
    {
        const int fd = ::open(path(name).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        QVERIFY2(fd >= 0, name.constData());
        QCOMPARE(::ftruncate(fd, off_t(size)), 0);
        ::close(fd);
    }
    FolderBrowserView *makeView(); // over a.txt, b.doc, .hidden and the folder Sub
    QStringList shownFiles() const;

    QTemporaryDir m_settings;
    std::unique_ptr<test::ScratchFolder> m_dir;
    QByteArray m_root;
    std::unique_ptr<QWidget> m_client;
    FolderBrowserView *m_view = nullptr;
};

void tst_FolderBrowser::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
}

void tst_FolderBrowser::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->path();
}

FolderBrowserView *tst_FolderBrowser::makeView()
{
    makeFile("a.txt", 100);
    makeFile("b.doc", 20);
    makeFile(".hidden", 3);
    ::mkdir(path("Sub").constData(), 0755);
    m_client = std::make_unique<QWidget>();
    m_client->resize(twipsToPixels(7830), twipsToPixels(5805));
    m_view = new FolderBrowserView(m_client.get());
    return m_view;
}

QStringList tst_FolderBrowser::shownFiles() const
{
    QStringList names;
    const QAbstractItemModel *model = m_view->fileList()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

void tst_FolderBrowser::nameOrder_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("case ignored: a before B") << QByteArray("a") << QByteArray("B");
    QTest::newRow("same letters: upper bytes first") << QByteArray("B") << QByteArray("b");
    QTest::newRow("shorter name first") << QByteArray("abc") << QByteArray("ABCD");
    QTest::newRow("digits compare as text") << QByteArray("file10") << QByteArray("file9");
    QTest::newRow("difference at byte sixteen")
        << QByteArray("0123456789abcdefA") << QByteArray("0123456789ABCDEFb");
    QTest::newRow("equal beyond sixteen bytes, bytes decide")
        << QByteArray("Long-name-beyond-the-prefix") << QByteArray("long-name-beyond-the-prefix");
    QTest::newRow("accented upper sorts with lower")
        << QByteArray("\xc3\xa9x") << QByteArray("\xc3\x89y");
    QTest::newRow("invalid byte sorts by its escaped text")
        << QByteArray("\xff") << QByteArray("a");
}

void tst_FolderBrowser::nameOrder()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QVERIFY(nameLess(first, second));
    QVERIFY(!nameLess(second, first));
    std::vector<QByteArray> names { second, first };
    sortByName(names);
    QCOMPARE(names, (std::vector<QByteArray> { first, second }));
}

// Every kind of entry counted once, a total beyond 4 GiB kept whole; folders are not counted.
void tst_FolderBrowser::countAndTotal()
{
    makeFile("big.img", qint64(5) * 1024 * 1024 * 1024 + 1); // sparse
    makeFile("a.txt", 1000);
    makeFile(".hidden.txt", 20);
    makeFile("bad\xff.txt", 7);
    QCOMPARE(::mkfifo(path("pipe").constData(), 0644), 0);
    QCOMPARE(::symlink("nowhr", path("dangling").constData()), 0); // its own size: 5
    QCOMPARE(::mkdir(path("sub").constData(), 0755), 0);
    QCOMPARE(::symlink("sub", path("link-to-sub").constData()), 0);

    FolderBrowser browser;
    browser.setFolderPath(m_root);
    browser.setPattern(u"*.*"_s);
    browser.setSwitches({ true, true, true, true, true });
    const RefreshResult result = browser.refresh();
    QCOMPARE(result.fileCount, qint64(6));
    QCOMPARE(result.byteTotal, (quint64(5) << 30) + 1 + 1000 + 20 + 7 + 0 + 5);
    QCOMPARE(browser.files().rowCount(), 6);
}

void tst_FolderBrowser::fileListEntries()
{
    for (const QByteArray name : { "beta", "Alpha", "two\nlines", "bad\xfe", "vanishes" })
        makeFile(name, 1);
    FolderBrowser browser;
    browser.setFolderPath(m_root);
    browser.refresh();
    const FileListModel &files = browser.files();
    QStringList shown;
    for (int row = 0; row < files.rowCount(); ++row)
        shown << files.data(files.index(row), Qt::DisplayRole).toString();
    QCOMPARE(
        shown,
        (QStringList { u"Alpha"_s, u"bad\\xfe"_s, u"beta"_s, u"two\\nlines"_s, u"vanishes"_s }));

    // Each entry keeps its exact bytes, and is read afresh for every later use.
    makeFile("bad\xfe", 4096);
    QCOMPARE(::unlink(path("vanishes").constData()), 0);
    QCOMPARE(files.stat(1).value().size, qint64(4096));
    QVERIFY(!files.stat(4).has_value());
    // An index left over from a longer list reads nothing.
    QVERIFY(!files.stat(5).has_value());
    QCOMPARE(files.displayName(7), QString());
}

void tst_FolderBrowser::folderList()
{
    for (const QByteArray name : { "gamma", "Beta", "alpha", "bad\xff" })
        QCOMPARE(::mkdir(path(name).constData(), 0755), 0);
    makeFile("not-a-folder", 1);
    FolderBrowser browser;
    browser.setFolderPath(m_root + "/./");
    browser.refresh();
    QCOMPARE(browser.folderPath(), m_root);
    const FolderListModel &folders = browser.folders();
    const int current = folders.currentRow();
    QStringList below;
    for (int row = current + 1; row < folders.rowCount(); ++row)
        below << folders.item(row).label;
    QCOMPARE(below, (QStringList { u"alpha"_s, u"bad\\xff"_s, u"Beta"_s, u"gamma"_s }));

    // Going into the folder with an invalid name works on its bytes.
    browser.setFolderPath(folders.item(current + 2).path);
    QVERIFY(!browser.refresh().fellBack);
    QCOMPARE(browser.folderPath(), m_root + "/bad\xff");
}

void tst_FolderBrowser::folderItemsFromTheDriveDown_data()
{
    QTest::addColumn<QByteArray>("drive");
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QStringList>("rows"); // "path label depth", open rows marked "+"
    QTest::newRow("root itself") << QByteArray("/") << QByteArray("/")
                                 << QStringList { u"+/ / 0"_s, u"/sub sub 1"_s };
    QTest::newRow("ancestors from the root")
        << QByteArray("/") << QByteArray("/home/ann")
        << QStringList { u"+/ / 0"_s, u"+/home home 1"_s, u"+/home/ann ann 2"_s,
                         u"/home/ann/sub sub 3"_s };
    QTest::newRow("from a mounted drive")
        << QByteArray("/mnt/usb") << QByteArray("/mnt/usb/photos")
        << QStringList { u"+/mnt/usb /mnt/usb 0"_s, u"+/mnt/usb/photos photos 1"_s,
                         u"/mnt/usb/photos/sub sub 2"_s };
    QTest::newRow("drive not above the folder: from the root")
        << QByteArray("/mnt/usb") << QByteArray("/mnt/usbkey")
        << QStringList { u"+/ / 0"_s, u"+/mnt mnt 1"_s, u"+/mnt/usbkey usbkey 2"_s,
                         u"/mnt/usbkey/sub sub 3"_s };
}

void tst_FolderBrowser::folderItemsFromTheDriveDown()
{
    QFETCH(QByteArray, drive);
    QFETCH(QByteArray, folder);
    QStringList rows;
    for (const FolderItem &item : folderItems(drive, folder, { QByteArray("sub") }))
        rows << (item.open ? u"+"_s : QString()) + QString::fromUtf8(item.path) + u' ' + item.label
                + u' ' + QString::number(item.depth);
    QTEST(rows, "rows");
}

void tst_FolderBrowser::modelsKeepTheirContract()
{
    for (const QByteArray name : { "one", "two" })
        QCOMPARE(::mkdir(path(name).constData(), 0755), 0);
    makeFile("a.txt", 1);
    makeFile("b.txt", 2);
    FolderBrowser browser;
    QAbstractItemModelTester files(&browser.files(),
                                   QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester folders(&browser.folders(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
    browser.setFolderPath(m_root);
    browser.refresh();
    QCOMPARE(browser.files().rowCount(), 2);
    browser.setPattern(u"a*"_s);
    browser.refresh();
    QCOMPARE(browser.files().rowCount(), 1);
    browser.setFolderPath(path("one"));
    browser.refresh();
    QCOMPARE(browser.files().rowCount(), 0);
}

void tst_FolderBrowser::deletedFolderFallsBack()
{
    QVERIFY(QDir(m_dir->text()).mkpath(u"a/b/c"_s));
    makeFile("a/kept", 3);
    FolderBrowser browser;
    browser.setFolderPath(path("a/b/c"));
    QVERIFY(!browser.refresh().fellBack);
    QVERIFY(QDir(m_dir->text() + u"/a/b"_s).removeRecursively());
    const RefreshResult result = browser.refresh();
    QVERIFY(result.fellBack);
    QCOMPARE(browser.folderPath(), path("a"));
    QCOMPARE(result.fileCount, qint64(1));
}

void tst_FolderBrowser::unreadableFolder()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    QCOMPARE(::mkdir(path("closed").constData(), 0755), 0);
    makeFile("closed/inside", 5);
    QCOMPARE(::chmod(path("closed").constData(), 0), 0);
    FolderBrowser browser;
    browser.setFolderPath(path("closed"));
    const RefreshResult result = browser.refresh();
    QCOMPARE(result.error, EACCES);
    QVERIFY(!result.fellBack);
    QCOMPARE(browser.files().rowCount(), 0);
    // The way out is still shown.
    QCOMPARE(browser.folders().currentRow(), browser.folders().rowCount() - 1);
}

void tst_FolderBrowser::meterFullThenEmpty()
{
    const QColor bar(128, 0, 128);
    const QColor back(192, 192, 192);
    RecordingMeterCanvas canvas(2685, 200);
    Meter meter;
    meter.drawMeter(canvas, Meter::Raised, bar, back, 100);
    // 21 blocks: the one at 2580 would end beyond the width.
    const QStringList boxes = canvas.calls().filter(u"box "_s);
    QCOMPARE(boxes.size(), 21);
    QCOMPARE(boxes.last(), u"box 2460,60 2520,120 #800080"_s);
    // The raised frame: light along the top and left, dark along the bottom and right.
    QCOMPARE(canvas.calls().filter(u"line "_s),
             (QStringList { u"line 0,0 2685,0 #ffffff"_s, u"line 0,0 0,200 #ffffff"_s,
                            u"line 0,198 2685,198 #808080"_s, u"line 2683,0 2683,198 #808080"_s }));

    // At 0 per cent the inside is cleared to the background.
    canvas.clear();
    meter.drawMeter(canvas, Meter::Flat, bar, back, 0);
    QCOMPARE(canvas.calls().filter(u"box "_s), QStringList { u"box 1,1 2681,196 #c0c0c0"_s });
}

void tst_FolderBrowser::meterBlocks_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QStringList>("expected");
    const QString first = u"box 60,60 120,120"_s;
    const QString second = u"box 180,60 240,120"_s;
    QTest::newRow("1 percent: shorter than the first block") << 2685 << 200 << 1 << QStringList();
    QTest::newRow("3 percent reaches the first block") << 2685 << 200 << 3 << QStringList { first };
    QTest::newRow("bar length 179.5 rounds to even 180")
        << 363 << 200 << 50 << QStringList { first, second };
    QTest::newRow("block top 60.5 rounds to even 60") << 2685 << 201 << 3 << QStringList { first };
    QTest::newRow("block top 61.5 rounds to even 62")
        << 2685 << 203 << 3 << QStringList { u"box 60,62 120,122"_s };
    QTest::newRow("above 100 percent stays inside the width")
        << 400 << 200 << 250 << QStringList { first, second };
    QTest::newRow("a block reaching exactly the right edge is drawn")
        << 300 << 200 << 100 << QStringList { first, second };
    QTest::newRow("negative percentage draws no block") << 2685 << 200 << -5 << QStringList();
}

void tst_FolderBrowser::meterBlocks()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, percent);
    QFETCH(QStringList, expected);
    RecordingMeterCanvas canvas(width, height);
    Meter().drawMeter(canvas, Meter::Raised, Qt::black, Qt::white, percent);
    QStringList drawn = canvas.calls().filter(u"box "_s);
    for (QString &box : drawn)
        box.chop(8); // the colour
    QCOMPARE(drawn, expected);
}

void tst_FolderBrowser::viewKeysTypedDuringARefreshShareOne_data()
{
    QTest::addColumn<QString>("first"); // typed while the window is idle
    QTest::addColumn<QString>("during"); // arrives while the refresh of the first key runs
    QTest::addColumn<QStringList>("applied");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("one key during: still one refresh each")
        << u"*"_s << u"d"_s << QStringList { u"*"_s, u"*d"_s } << QStringList();
    QTest::newRow("five keys during: one refresh with all of them")
        << u"*"_s << u".doc"_s << QStringList { u"*"_s, u"*.doc"_s } << QStringList { u"b.doc"_s };
    QTest::newRow("a backspace among them counts too")
        << u"a"_s << u".tz\bxt"_s << QStringList { u"a"_s, u"a.txt"_s }
        << QStringList { u"a.txt"_s };
}

void tst_FolderBrowser::viewKeysTypedDuringARefreshShareOne()
{
    QFETCH(QString, first);
    QFETCH(QString, during);
    QFETCH(QStringList, applied);
    QFETCH(QStringList, shown);
    FolderBrowserView *view = makeView();
    view->start(m_dir->text());
    view->patternBox()->setEditText(QString());
    QCoreApplication::processEvents();
    QLineEdit *edit = view->patternBox()->lineEdit();
    const auto postKey = [edit](QChar c) {
        const int key = c == u'\b' ? int(Qt::Key_Backspace) : 0;
        QCoreApplication::postEvent(
            edit,
            new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, key ? QString() : QString(c)));
    };

    QStringList appliedPatterns;
    connect(view, &FolderBrowserView::refreshed, this, [&] {
        if (appliedPatterns.isEmpty()) {
            // The user goes on typing while this refresh is still running.
            for (const QChar c : during)
                postKey(c);
        }
        appliedPatterns << view->browser().pattern();
    });
    postKey(first.at(0));
    QTRY_COMPARE(appliedPatterns.size(), applied.size());
    QCoreApplication::processEvents();
    QCOMPARE(appliedPatterns, applied);
    QCOMPARE(view->patternBox()->currentText(), applied.last());
    QCOMPARE(shownFiles(), shown);
}

void tst_FolderBrowser::viewAttributeBoxes()
{
    FolderBrowserView *view = makeView();
    view->start(m_dir->text());
    QSignalSpy refreshed(view, &FolderBrowserView::refreshed);
    for (int box = FolderBrowserView::NormalBox; box <= FolderBrowserView::ArchiveBox; ++box)
        QTest::mouseClick(view->attributeBox(FolderBrowserView::AttributeBox(box)), Qt::LeftButton);
    QCOMPARE(refreshed.size(), 5);
    QCOMPARE(shownFiles(), QStringList());
    QCOMPARE(view->statusStrip()->fileCountPanel()->text(), u"0"_s);
    QCOMPARE(view->statusStrip()->byteTotalPanel()->text(), u"0"_s);

    // A grey box counts as on.
    view->attributeBox(FolderBrowserView::HiddenBox)->setCheckState(Qt::PartiallyChecked);
    QCOMPARE(shownFiles(), QStringList { u".hidden"_s });
}

void tst_FolderBrowser::viewDriveThatCannotBeOpenedReverts()
{
    FolderBrowserView *view = makeView();
    view->start(m_dir->text());
    QComboBox *drives = view->driveList();
    drives->addItem(m_dir->text() + u"/no-such-drive"_s);
    drives->setCurrentIndex(drives->count() - 1);
    QSignalSpy refreshed(view, &FolderBrowserView::refreshed);
    emit drives->activated(drives->count() - 1);
    QCOMPARE(refreshed.size(), 0);
    QCOMPARE(drives->currentText(), driveOf(m_dir->text()));
    QCOMPARE(view->currentFolder(), m_dir->text());
}

void tst_FolderBrowser::totalsFitTheirPanels_data()
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

void tst_FolderBrowser::totalsFitTheirPanels()
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
    for (const auto &[panel, text, shrink] :
         { std::tuple(strip.fileCountPanel(), groupedNumber(files), filesShrink),
           std::tuple(strip.byteTotalPanel(), groupedNumber(bytes), bytesShrink) }) {
        QCOMPARE(panel->text(), text);
        QCOMPARE(panel->font().pointSizeF() < face.pointSizeF(), shrink);
        QVERIFY2(QFontMetrics(panel->font()).horizontalAdvance(text)
                     < panel->contentsRect().width(),
                 qPrintable(u"%1 at %2 points"_s.arg(text).arg(panel->font().pointSizeF())));
    }
}

QTEST_MAIN(tst_FolderBrowser)
#include "tst_folderbrowser.moc"
