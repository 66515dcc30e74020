#include "platform/attributes.h"
#include "platform/drives.h"
#include "platform/filelisting.h"
#include "platform/wildcard.h"

#include <QDir>
#include <QTest>

#include "support/scratchfolder.h"

#include <algorithm>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qm;
using namespace Qt::StringLiterals;

constexpr qint64 FiveGiB = qint64(5) << 30;

class tst_FileListing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void paths_data();
    void paths();
    void entries_data();
    void entries();
    void crowdedFolderListsEveryEntryOnce();
    void folderDeeperThanAPathCanName();
    void searchOnlyFolder();

private:
    std::unique_ptr<test::ScratchFolder> m_dir;
};

void tst_FileListing::init()
{
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
}

void tst_FileListing::paths_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("clean");
    QTest::addColumn<QString>("drive");
    QTest::newRow("dot-dot above the root") << QByteArray("/../..") << QByteArray("/") << u"/"_s;
    QTest::newRow("name that only starts like a mount")
        << QByteArray("/mnt/usbkey") << QByteArray("/mnt/usbkey") << u"/"_s;
    QTest::newRow("longest mount wins")
        << QByteArray("/mnt/usb/inner/x") << QByteArray("/mnt/usb/inner/x") << u"/mnt/usb/inner"_s;
}

void tst_FileListing::paths()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, clean);
    QFETCH(QString, drive);
    QCOMPARE(cleanFolderPath(path), clean);
    const QStringList mounts { u"/"_s, u"/mnt/usb/inner"_s, u"/mnt/usb"_s };
    QCOMPARE(driveOf(QString::fromUtf8(clean), mounts), drive);
}

void tst_FileListing::entries_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("attributes");
    QTest::newRow("sparse file above 4 GiB") << QByteArray("big.img") << FiveGiB + 3 << 0;
    QTest::newRow("invalid UTF-8 name") << QByteArray("bad\xff") << qint64(9) << 0;
    QTest::newRow("owner write bit off is read-only")
        << QByteArray("locked.txt") << qint64(7) << int(AttrReadOnly);
    QTest::newRow("dangling link is system, own size")
        << QByteArray("dangling") << qint64(qstrlen("no-such-target")) << int(AttrSystem);
    QTest::newRow("FIFO is system, never opened")
        << QByteArray("pipe") << qint64(0) << int(AttrSystem);
}

void tst_FileListing::entries()
{
    QFETCH(QByteArray, name);
    QFETCH(qint64, size);
    QFETCH(int, attributes);
    QVERIFY(m_dir->makeFile("big.img", FiveGiB + 3) && m_dir->makeFile("bad\xff", 9));
    QVERIFY(m_dir->makeFile("locked.txt", 7)
            && ::chmod(m_dir->path("locked.txt").constData(), 0444) == 0);
    QCOMPARE(::symlink("no-such-target", m_dir->path("dangling").constData()), 0);
    QCOMPARE(::mkfifo(m_dir->path("pipe").constData(), 0644), 0);
    QCOMPARE(::mkdir(m_dir->path("sub").constData(), 0755), 0);
    const FolderHandle folder = FolderHandle::open(m_dir->path());
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.error, 0);
    QCOMPARE(listing.files.size(), size_t(5));
    const auto entry = std::find_if(listing.files.begin(), listing.files.end(),
                                    [&name](const FileEntry &e) { return e.name == name; });
    QVERIFY(entry != listing.files.end() && entry->statOk);
    QCOMPARE(entry->stat.size, size);
    QCOMPARE(int(entry->attributes), attributes);
    // Opening a FIFO without a writer would block: sizing it again must not.
    QCOMPARE(folder.stat(name).value().size, size);
}

void tst_FileListing::folderDeeperThanAPathCanName()
{
    // Twenty names of 250 bytes: the whole path is longer than open() takes.
    QByteArray deep = m_dir->path();
    const QByteArray level(250, 'd');
    const QString cwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->text()));
    for (int i = 0; i < 20; ++i, deep += '/' + level) // relative: the whole path is too long
        QVERIFY(::mkdir(level.constData(), 0755) == 0 && ::chdir(level.constData()) == 0);
    const int file = ::open("deep.txt", O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    const bool made = file >= 0 && ::ftruncate(file, 7) == 0 && ::close(file) == 0;
    QVERIFY(QDir::setCurrent(cwd));
    QVERIFY(made && deep.size() > PATH_MAX);

    const FolderHandle folder = FolderHandle::open(deep);
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.error, 0);
    QCOMPARE(listing.files.size(), size_t(1));
    QCOMPARE(listing.files.front().stat.size, qint64(7));
    QCOMPARE(folder.stat("deep.txt").value().size, qint64(7));
}

void tst_FileListing::crowdedFolderListsEveryEntryOnce()
{
    // Enough names for the stats to be shared between threads.
    constexpr int Count = 6000;
    for (int i = 0; i < Count; ++i)
        QVERIFY(m_dir->makeFile(QByteArray::number(i).rightJustified(5, '0'), i % 97));
    const FolderListing many = FolderHandle::open(m_dir->path()).list(PatternMatcher());
    QCOMPARE(many.error, 0);
    QCOMPARE(many.files.size(), size_t(Count));
    std::vector<QByteArray> names;
    for (const FileEntry &entry : many.files) {
        names.push_back(entry.name);
        QVERIFY(entry.statOk);
        QCOMPARE(entry.stat.size, qint64(entry.name.toInt() % 97));
    }
    std::sort(names.begin(), names.end());
    QVERIFY(std::adjacent_find(names.begin(), names.end()) == names.end());
}

void tst_FileListing::searchOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    QCOMPARE(::mkdir(m_dir->path("names-only").constData(), 0755), 0);
    QVERIFY(m_dir->makeFile("names-only/a", 5));
    QCOMPARE(::chmod(m_dir->path("names-only").constData(), 0444), 0);
    // The names can be read, the entries not: each is listed, sized 0 and marked unread.
    const FolderHandle folder = FolderHandle::open(m_dir->path("names-only"));
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.error, 0);
    QCOMPARE(listing.files.size(), size_t(1));
    QVERIFY(!listing.files.front().statOk && listing.files.front().stat.size == 0);
    QVERIFY(!folder.stat("a").has_value());
}

QTEST_APPLESS_MAIN(tst_FileListing)
#include "tst_filelisting.moc"
