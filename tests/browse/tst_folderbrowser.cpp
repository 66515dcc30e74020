#include "browse/folderbrowser.h"
#include "browse/folderbrowserview.h"
#include "browse/nameorder.h"
#include "browse/statusstrip.h"
#include "browse/treelist.h"
#include "platform/numbers.h"
#include "platform/twips.h"
#include "platform/wildcard.h"
#include "support/recordingmetercanvas.h"
#include "support/scratchfolder.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace qm;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(AttributeSwitches)

class tst_FolderBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }
    void init();

    void nameOrder_data();
    void nameOrder();
    void listingCountsEveryKindOnce();
    void folderItemsFromTheDriveDown_data();
    void folderItemsFromTheDriveDown();
    void folderProblems_data();
    void folderProblems();
    void meterBlocks_data();
    void meterBlocks();
    void viewKeysTypedDuringARefreshShareOne_data();
    void viewKeysTypedDuringARefreshShareOne();
    void totalsFitTheirPanels();
    void walk_data();
    void walk();
    void sizesAreReadAfresh();

private:
    void makeTree();

    QTemporaryDir m_settings;
    std::unique_ptr<test::ScratchFolder> m_dir;
};

void tst_FolderBrowser::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
}

void tst_FolderBrowser::nameOrder_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("same letters: upper bytes first") << QByteArray("B") << QByteArray("b");
    QTest::newRow("accented upper sorts with lower")
        << QByteArray("\xc3\xa9x") << QByteArray("\xc3\x89y");
    QTest::newRow("invalid byte sorts by its escaped text")
        << QByteArray("\xff") << QByteArray("a");
}

void tst_FolderBrowser::nameOrder()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QCOMPARE(std::pair(nameLess(first, second), nameLess(second, first)), std::pair(true, false));
}

// Every kind of entry counted once, a total beyond 4 GiB kept whole; folders are not counted.
void tst_FolderBrowser::listingCountsEveryKindOnce()
{
    QVERIFY(m_dir->makeFile("big.img", (qint64(5) << 30) + 1)); // sparse
    QVERIFY(m_dir->makeFile("a.txt", 1000));
    QCOMPARE(::symlink("nowhr", m_dir->path("dangling").constData()), 0); // its own size: 5
    QCOMPARE(::mkdir(m_dir->path("sub").constData(), 0755), 0);
    FolderBrowser browser;
    const auto mode = QAbstractItemModelTester::FailureReportingMode::QtTest;
    QAbstractItemModelTester files(&browser.files(), mode), folders(&browser.folders(), mode);
    browser.setFolderPath(m_dir->path());
    browser.setSwitches({ true, true, true, true, true });
    RefreshResult result = browser.refresh();
    QCOMPARE(result.fileCount, qint64(3));
    QCOMPARE(result.byteTotal, (quint64(5) << 30) + 1 + 1000 + 5);
    browser.setPattern(u"a*"_s);
    QCOMPARE(browser.refresh().fileCount, qint64(1));
    browser.setFolderPath(m_dir->path("sub"));
    QCOMPARE(browser.refresh().fileCount, qint64(0));
}

void tst_FolderBrowser::folderItemsFromTheDriveDown_data()
{
    QTest::addColumn<QByteArray>("drive");
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QStringList>("rows"); // "path label depth", open rows marked "+"
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

void tst_FolderBrowser::folderProblems_data()
{
    QTest::addColumn<bool>("deleted"); // else unreadable
    QTest::newRow("deleted with its parent: the nearest folder left") << true;
    QTest::newRow("mode 000: an empty list, the way out still shown") << false;
}

void tst_FolderBrowser::folderProblems()
{
    QFETCH(bool, deleted);
    if (!deleted && ::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    QVERIFY(QDir(m_dir->text()).mkpath(u"a/b/c"_s));
    QVERIFY(m_dir->makeFile("a/kept", 3));
    QVERIFY(m_dir->makeFile("a/b/c/inside", 5));
    FolderBrowser browser;
    browser.setFolderPath(m_dir->path("a/b/c"));
    QVERIFY(!browser.refresh().fellBack);
    if (deleted)
        QVERIFY(QDir(m_dir->text() + u"/a/b"_s).removeRecursively());
    else
        QCOMPARE(::chmod(m_dir->path("a/b/c").constData(), 0), 0);
    const RefreshResult result = browser.refresh();
    QCOMPARE(result.fellBack, deleted);
    QCOMPARE(result.error, deleted ? 0 : EACCES);
    QCOMPARE(browser.folderPath(), m_dir->path(deleted ? "a" : "a/b/c"));
    QCOMPARE(browser.files().rowCount(), deleted ? 1 : 0);
    QCOMPARE(browser.folders().currentRow(), browser.folders().rowCount() - 1);
}

void tst_FolderBrowser::meterBlocks_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QStringList>("expected");
    const QString first = u"box 60,60 120,120"_s;
    const QString second = u"box 180,60 240,120"_s;
    QTest::newRow("bar length 179.5 rounds to even 180")
        << 363 << 200 << 50 << QStringList { first, second };
    QTest::newRow("block top 61.5 rounds to even 62")
        << 2685 << 203 << 3 << QStringList { u"box 60,62 120,122"_s };
    QTest::newRow("above 100 percent stays inside the width")
        << 400 << 200 << 250 << QStringList { first, second };
    QTest::newRow("a block reaching exactly the right edge is drawn")
        << 300 << 200 << 100 << QStringList { first, second };
}

void tst_FolderBrowser::meterBlocks()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, percent);
    RecordingMeterCanvas canvas(width, height);
    Meter().drawMeter(canvas, Meter::Raised, Qt::black, Qt::white, percent);
    QStringList drawn = canvas.calls().filter(u"box "_s);
    for (QString &box : drawn)
        box.chop(8); // the colour
    QTEST(drawn, "expected");
}

void tst_FolderBrowser::viewKeysTypedDuringARefreshShareOne_data()
{
    QTest::addColumn<QString>("first"); // typed while the window is idle
    QTest::addColumn<QString>("during"); // arrives while the refresh of the first key runs
    QTest::addColumn<QStringList>("applied");
    QTest::newRow("five keys during: one refresh with all of them")
        << u"*"_s << u".doc"_s << QStringList { u"*"_s, u"*.doc"_s };
    QTest::newRow("a backspace among them counts too")
        << u"a"_s << u".tz\bxt"_s << QStringList { u"a"_s, u"a.txt"_s };
}

void tst_FolderBrowser::viewKeysTypedDuringARefreshShareOne()
{
    QFETCH(QString, first);
    QFETCH(QString, during);
    QFETCH(QStringList, applied);
    QVERIFY(m_dir->makeFile("a.txt") && m_dir->makeFile("b.doc"));
    QWidget client;
    auto *view = new FolderBrowserView(&client);
    view->start(m_dir->text());
    view->patternBox()->setEditText(QString());
    QCoreApplication::processEvents();
    const auto postKey = [edit = view->patternBox()->lineEdit()](QChar c) {
        const int key = c == u'\b' ? int(Qt::Key_Backspace) : 0;
        QCoreApplication::postEvent(
            edit,
            new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, key ? QString() : QString(c)));
    };
    QStringList appliedPatterns;
    connect(view, &FolderBrowserView::refreshed, this, [&] {
        if (appliedPatterns.isEmpty()) { // the user goes on typing while this refresh runs
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
    QCOMPARE(view->fileList()->model()->rowCount(), 1); // of a.txt and b.doc
}

// Every digit of the largest count and total shown, in a smaller face if need be.
void tst_FolderBrowser::totalsFitTheirPanels()
{
    const qint64 files = std::numeric_limits<qint64>::max();
    const quint64 bytes = std::numeric_limits<quint64>::max();
    QWidget client;
    client.resize(twipsToPixels(7830), twipsToPixels(5805));
    StatusStrip strip(&client);
    strip.showRefresh(RefreshResult { .fileCount = files, .byteTotal = bytes });
    for (const auto &[panel, text] : { std::pair(strip.fileCountPanel(), groupedNumber(files)),
                                       std::pair(strip.byteTotalPanel(), groupedNumber(bytes)) }) {
        QCOMPARE(panel->text(), text);
        QVERIFY2(QFontMetrics(panel->font()).horizontalAdvance(text)
                     < panel->contentsRect().width(),
                 qPrintable(u"%1 at %2 points"_s.arg(text).arg(panel->font().pointSizeF())));
    }
}

// A tree of every kind of entry, for the tree's listing.
void tst_FolderBrowser::makeTree()
{
    QLocale::setDefault(QLocale::c());
    for (const char *folder :
         { "top", "top/zeta", "top/Alpha", "top/Alpha/inner", "top/empty", "top/bad\xff" })
        QCOMPARE(::mkdir(m_dir->path(folder).constData(), 0755), 0);
    qint64 size = 1;
    for (const char *file : { "a.txt", "B.txt", ".hidden", "zeta/z.txt", "Alpha/x.TXT",
                              "Alpha/inner/deep.txt", "bad\xff/f\xfe.txt" }) {
        QVERIFY(m_dir->makeFile("top/" + QByteArray(file), size));
        size *= 2;
    }
    QCOMPARE(::mkfifo(m_dir->path("top/fifo").constData(), 0644), 0);
    // Dangling, leading to itself, back up the tree (entering it would never end), a folder.
    for (const auto &[target, name] : { std::pair { "nowhere", "dangling" },
                                        { "self", "self" },
                                        { "..", "Alpha/loop" },
                                        { "zeta", "link-to-zeta" } })
        QCOMPARE(::symlink(target, m_dir->path("top/" + QByteArray(name)).constData()), 0);
}

void tst_FolderBrowser::walk_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<AttributeSwitches>("switches");
    QTest::addColumn<QString>("names"); // text forms, joined by "|"
    QTest::addColumn<QByteArray>("lastName"); // the exact bytes of the last one
    QTest::addColumn<quint64>("bytes");
    const AttributeSwitches all;
    QTest::newRow("each file once, a folder's own first, links to folders not followed")
        << u"*.*"_s << all
        << u".hidden|a.txt|B.txt|dangling|fifo|self|Alpha/x.TXT|Alpha/inner/deep.txt|"
           "bad\\xff/f\\xfe.txt|zeta/z.txt"_s
        << QByteArray("zeta/z.txt") << quint64(1 + 2 + 4 + 16 + 32 + 64 + 8) + 7 + 4;
    QTest::newRow("the pattern in every folder, ignoring case")
        << u"*.txt"_s << all
        << u"a.txt|B.txt|Alpha/x.TXT|Alpha/inner/deep.txt|bad\\xff/f\\xfe.txt|zeta/z.txt"_s
        << QByteArray("zeta/z.txt") << quint64(1 + 2 + 16 + 32 + 64 + 8);
    QTest::newRow("the attributes in every folder: System alone")
        << u"*"_s << AttributeSwitches { false, false, true, false, false }
        << u"dangling|fifo|self"_s << QByteArray("self") << quint64(7 + 4);
    QTest::newRow("a name that is not UTF-8 keeps its bytes")
        << u"f*.txt"_s << all << u"bad\\xff/f\\xfe.txt"_s << QByteArray("bad\xff/f\xfe.txt")
        << quint64(64);
    QTest::newRow("nothing passes: an empty list")
        << u"*.none"_s << all << QString() << QByteArray() << quint64(0);
}

void tst_FolderBrowser::walk()
{
    makeTree();
    QFETCH(QString, pattern);
    QFETCH(AttributeSwitches, switches);
    TreeList tree;
    int problems = 0;
    QStringList entered;
    const TreeResult result = tree.list(
        m_dir->path("top"), PatternMatcher(pattern), switches,
        [&](const QString &f) { entered << f; }, [&](const TreeProblem &) { ++problems; });
    QCOMPARE(result.error, 0);
    QCOMPARE(problems, 0);
    QCOMPARE(entered,
             (QStringList { QString(), u"Alpha/"_s, u"Alpha/inner/"_s, u"bad\\xff/"_s, u"empty/"_s,
                            u"zeta/"_s }));
    QStringList listed;
    for (qint64 i = 0; i < tree.count(); ++i)
        listed << tree.displayName(i);
    QTEST(listed.join(u'|'), "names");
    QCOMPARE(result.fileCount, tree.count());
    QTEST(result.byteTotal, "bytes");
    QTEST(tree.name(tree.count() - 1), "lastName");
    QCOMPARE(tree.folderText(), m_dir->text() + u"/top"_s);
    QCOMPARE(tree.folderPrefix(), m_dir->text() + u"/top/"_s);
}

void tst_FolderBrowser::sizesAreReadAfresh()
{
    makeTree();
    TreeList tree;
    tree.list(m_dir->path("top"), PatternMatcher(u"*.txt"_s), AttributeSwitches());
    QCOMPARE(tree.displayName(3), u"Alpha/inner/deep.txt"_s);
    QCOMPARE(::truncate(m_dir->path("top/Alpha/inner/deep.txt").constData(), 100), 0);
    QCOMPARE(::unlink(m_dir->path("top/zeta/z.txt").constData()), 0);
    QCOMPARE(tree.stat(3)->size, 100); // a folder below the top, opened for its line
    QCOMPARE(tree.stat(0)->size, 1); // the top again
    QVERIFY(!tree.stat(5)); // gone: no size, no time
    QCOMPARE(tree.displayName(5), u"zeta/z.txt"_s);
}

QTEST_MAIN(tst_FolderBrowser)
#include "tst_folderbrowser.moc"
