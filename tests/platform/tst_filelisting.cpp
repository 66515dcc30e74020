#include "platform/attributes.h"
#include "platform/drives.h"
#include "platform/filelisting.h"
#include "platform/wildcard.h"

#include <QTest>

#include "platform/scratchfolder.h"

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
    void cleanup() { m_dir.reset(); }
    void paths_data();
    void paths();
    void attributeRule_data();
    void attributeRule();
    void entries_data();
    void entries();
    void crowdedFolderListsEveryEntryOnce();
    void folderDeeperThanAPathCanName();
    void searchOnlyFolder();

private:
    QByteArray path(const QByteArray &name) const { return m_dir->path() + '/' + name; }
    void makeFile(const QByteArray &name, qint64 size, mode_t mode = 0644);
    void makeEntries();

    std::unique_ptr<test::ScratchFolder> m_dir;
};

void tst_FileListing::init()
{
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
}

void tst_FileListing::makeFile(const QByteArray &name, qint64 size, mode_t mode)
{
    const int fd = ::open(path(name).constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY2(fd >= 0, name.constData());
    QCOMPARE(::ftruncate(fd, off_t(size)), 0);
    ::close(fd);
    QCOMPARE(::chmod(path(name).constData(), mode), 0);
}

void tst_FileListing::paths_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("clean");
    QTest::addColumn<QString>("drive");
    QTest::newRow("dot-dot above the root") << QByteArray("/../..") << QByteArray("/") << u"/"_s;
    QTest::newRow("mount root, trailing separator")
        << QByteArray("/mnt/usb/") << QByteArray("/mnt/usb") << u"/mnt/usb"_s;
    QTest::newRow("dots inside a mount")
        << QByteArray("/mnt/usb/./a/../b") << QByteArray("/mnt/usb/b") << u"/mnt/usb"_s;
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

void tst_FileListing::attributeRule_data()
{
    QTest::addColumn<int>("attributes");
    QTest::addColumn<QString>("on"); // Normal, Hidden, System, Read Only, Archive; "-" is off
    QTest::addColumn<bool>("listed");
    QTest::newRow("normal, all on") << 0 << u"NHSRA"_s << true;
    QTest::newRow("normal, Normal off") << 0 << u"-HSRA"_s << false;
    QTest::newRow("hidden, Hidden off") << int(AttrHidden) << u"N-SRA"_s << false;
    QTest::newRow("hidden, Normal off") << int(AttrHidden) << u"-HSRA"_s << true;
    QTest::newRow("hidden, only Normal on") << int(AttrHidden) << u"N----"_s << false;
    QTest::newRow("FIFO is system, System off") << int(AttrSystem) << u"NH-RA"_s << false;
    QTest::newRow("read-only, Read Only off") << int(AttrReadOnly) << u"NHS-A"_s << false;
    QTest::newRow("archive, Archive off") << int(AttrArchive) << u"NHSR-"_s << false;
    QTest::newRow("hidden read-only, Read Only off")
        << int(AttrHidden | AttrReadOnly) << u"NHS-A"_s << false;
    QTest::newRow("all five off") << 0 << u"-----"_s << false;
}

void tst_FileListing::attributeRule()
{
    QFETCH(int, attributes);
    QFETCH(QString, on);
    QFETCH(bool, listed);
    const AttributeSwitches switches { on[0] == u'N', on[1] == u'H', on[2] == u'S', on[3] == u'R',
                                       on[4] == u'A' };
    QCOMPARE(attributesMatch(quint8(attributes), switches), listed);
}

void tst_FileListing::entries_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("attributes");
    QTest::newRow("plain file is normal") << QByteArray("plain.txt") << qint64(1234) << 0;
    QTest::newRow("dot file is hidden") << QByteArray(".hidden") << qint64(5) << int(AttrHidden);
    QTest::newRow("owner write bit off is read-only")
        << QByteArray("locked.txt") << qint64(7) << int(AttrReadOnly);
    QTest::newRow("sparse file above 4 GiB") << QByteArray("big.img") << FiveGiB + 3 << 0;
    QTest::newRow("link to a file shows its target") << QByteArray("link.txt") << qint64(1234) << 0;
    QTest::newRow("dangling link is system, own size")
        << QByteArray("dangling") << qint64(qstrlen("no-such-target")) << int(AttrSystem);
    QTest::newRow("looping link is system")
        << QByteArray("loop-a") << qint64(qstrlen("loop-b")) << int(AttrSystem);
    QTest::newRow("FIFO is system, never opened")
        << QByteArray("pipe") << qint64(0) << int(AttrSystem);
}

void tst_FileListing::entries()
{
    QFETCH(QByteArray, name);
    QFETCH(qint64, size);
    QFETCH(int, attributes);
    makeEntries();

    const FolderHandle folder = FolderHandle::open(m_dir->path());
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.error, 0);
    QCOMPARE(listing.files.size(), size_t(9));
    const auto entry = std::find_if(listing.files.begin(), listing.files.end(),
                                    [&name](const FileEntry &e) { return e.name == name; });
    QVERIFY(entry != listing.files.end());
    QVERIFY(entry->statOk);
    QCOMPARE(entry->stat.size, size);
    QCOMPARE(int(entry->attributes), attributes);
    QVERIFY(entry->stat.modified > 0);
    // Opening a FIFO without a writer would block: sizing it again must not.
    QCOMPARE(folder.stat(name).value().size, size);
    // Folders, links to folders too, are listed whatever the pattern; links are matched by name.
    const FolderListing txt = folder.list(PatternMatcher(u"*.TXT"_s));
    QCOMPARE(txt.files.size(), size_t(3));
    QCOMPARE(txt.folders.size(), size_t(2));
}

void tst_FileListing::makeEntries()
{
    makeFile("plain.txt", 1234);
    makeFile(".hidden", 5);
    makeFile("locked.txt", 7, 0444);
    makeFile("big.img", FiveGiB + 3);
    QCOMPARE(::symlink("plain.txt", path("link.txt").constData()), 0);
    QCOMPARE(::symlink("no-such-target", path("dangling").constData()), 0);
    QCOMPARE(::symlink("loop-b", path("loop-a").constData()), 0);
    QCOMPARE(::symlink("loop-a", path("loop-b").constData()), 0);
    QCOMPARE(::mkfifo(path("pipe").constData(), 0644), 0);
    QCOMPARE(::mkdir(path("sub").constData(), 0755), 0);
    QCOMPARE(::symlink("sub", path("link-to-sub").constData()), 0);
}

void tst_FileListing::folderDeeperThanAPathCanName()
{
    // Twenty names of 250 bytes: the whole path is longer than open() takes.
    QByteArray deep = m_dir->path();
    int fd = ::open(deep.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    const QByteArray level(250, 'd');
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(::mkdirat(fd, level.constData(), 0755), 0);
        const int next = ::openat(fd, level.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        QVERIFY(fd >= 0);
        deep += '/' + level;
    }
    const int file = ::openat(fd, "deep.txt", O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    QVERIFY(file >= 0);
    QCOMPARE(::write(file, "1234567", 7), ssize_t(7));
    ::close(file);
    ::close(fd);
    QVERIFY(deep.size() > PATH_MAX);

    const FolderHandle folder = FolderHandle::open(deep);
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.error, 0);
    QCOMPARE(listing.files.size(), size_t(1));
    QCOMPARE(listing.files.front().stat.size, qint64(7));
    const std::optional<FileStat> stat = folder.stat("deep.txt");
    QVERIFY(stat);
    QCOMPARE(stat->size, qint64(7));
}

void tst_FileListing::crowdedFolderListsEveryEntryOnce()
{
    // Enough names for the stats to be shared between threads.
    makeEntries();
    const FolderListing few = FolderHandle::open(m_dir->path()).list(PatternMatcher());
    constexpr int Extra = 6000;
    for (int i = 0; i < Extra; ++i)
        makeFile(QByteArray::number(i).rightJustified(5, '0'), i % 97);

    const FolderListing many = FolderHandle::open(m_dir->path()).list(PatternMatcher());
    QCOMPARE(many.error, 0);
    QCOMPARE(many.files.size(), few.files.size() + Extra);
    QCOMPARE(many.folders.size(), size_t(2));
    std::vector<QByteArray> names;
    for (const FileEntry &entry : many.files) {
        names.push_back(entry.name);
        bool isNumber = false;
        const int n = entry.name.toInt(&isNumber);
        if (isNumber) {
            QCOMPARE(entry.stat.size, qint64(n % 97));
            QCOMPARE(int(entry.attributes), 0);
            continue;
        }
        const auto same = std::find_if(few.files.begin(), few.files.end(),
                                       [&](const FileEntry &e) { return e.name == entry.name; });
        QVERIFY(same != few.files.end());
        QCOMPARE(entry.stat.size, same->stat.size);
        QCOMPARE(entry.attributes, same->attributes);
    }
    std::sort(names.begin(), names.end());
    QVERIFY(std::adjacent_find(names.begin(), names.end()) == names.end());
}

void tst_FileListing::searchOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    QCOMPARE(::mkdir(path("names-only").constData(), 0755), 0);
    makeFile("names-only/a", 5);
    QCOMPARE(::chmod(path("names-only").constData(), 0444), 0);
    // The names can be read, the entries not: each is listed, sized 0 and marked unread.
    const FolderHandle folder = FolderHandle::open(path("names-only"));
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.error, 0);
    QCOMPARE(listing.files.size(), size_t(1));
    QVERIFY(!listing.files.front().statOk && listing.files.front().stat.size == 0);
    QVERIFY(!folder.stat("a").has_value());
}

QTEST_APPLESS_MAIN(tst_FileListing)
#include "tst_filelisting.moc"
