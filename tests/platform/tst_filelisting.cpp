#include "platform/filelisting.h"
#include "platform/wildcard.h"

#include <QFile>
#include <QTest>

#include "platform/scratchfolder.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_FileListing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entries_data();
    void entries();
    void foldersAreSeparate();
    void patternFiltersFiles();
    void fifoIsNeverOpened();
    void restatFollowsChanges();
    void longPathBeyondPathMax();
    void missingFolder();
    void unreadableFolder();
    void searchOnlyFolder();

private:
    QByteArray path(const QByteArray &name) const { return m_root + '/' + name; }
    void makeFile(const QByteArray &name, qint64 size, mode_t mode = 0644);
    const FileEntry *find(const FolderListing &listing, const QByteArray &name) const;

    std::unique_ptr<test::ScratchFolder> m_dir;
    QByteArray m_root;
};

void tst_FileListing::init()
{
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->path();
}

void tst_FileListing::cleanup()
{
    m_dir.reset();
}

void tst_FileListing::makeFile(const QByteArray &name, qint64 size, mode_t mode)
{
    const int fd = ::open(path(name).constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY2(fd >= 0, name.constData());
    QCOMPARE(::ftruncate(fd, off_t(size)), 0);
    ::close(fd);
    QCOMPARE(::chmod(path(name).constData(), mode), 0);
}

const FileEntry *tst_FileListing::find(const FolderListing &listing, const QByteArray &name) const
{
    const auto it = std::find_if(listing.files.begin(), listing.files.end(),
                                 [&name](const FileEntry &e) { return e.name == name; });
    return it == listing.files.end() ? nullptr : &*it;
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
    QTest::newRow("sparse file above 4 GiB keeps 64-bit size")
        << QByteArray("big.img") << qint64(5) * 1024 * 1024 * 1024 + 3 << 0;
    QTest::newRow("invalid UTF-8 name is listed and sized")
        << QByteArray("bad\xff\xfename") << qint64(42) << 0;
    QTest::newRow("name with a newline is one entry") << QByteArray("two\nlines") << qint64(3) << 0;
    QTest::newRow("link to a file shows its target")
        << QByteArray("link-to-plain") << qint64(1234) << 0;
    QTest::newRow("dangling link is system, own size")
        << QByteArray("dangling") << qint64(qstrlen("no-such-target")) << int(AttrSystem);
    QTest::newRow("looping link is system")
        << QByteArray("loop-a") << qint64(qstrlen("loop-b")) << int(AttrSystem);
    QTest::newRow("FIFO is system") << QByteArray("pipe") << qint64(0) << int(AttrSystem);
}

void tst_FileListing::entries()
{
    QFETCH(QByteArray, name);
    QFETCH(qint64, size);
    QFETCH(int, attributes);

    makeFile("plain.txt", 1234);
    makeFile(".hidden", 5);
    makeFile("locked.txt", 7, 0444);
    makeFile("big.img", qint64(5) * 1024 * 1024 * 1024 + 3);
    makeFile("bad\xff\xfename", 42);
    makeFile("two\nlines", 3);
    QCOMPARE(::symlink("plain.txt", path("link-to-plain").constData()), 0);
    QCOMPARE(::symlink("no-such-target", path("dangling").constData()), 0);
    QCOMPARE(::symlink("loop-b", path("loop-a").constData()), 0);
    QCOMPARE(::symlink("loop-a", path("loop-b").constData()), 0);
    QCOMPARE(::mkfifo(path("pipe").constData(), 0644), 0);

    const FolderHandle folder = FolderHandle::open(m_root);
    QVERIFY(folder.isOpen());
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.error, 0);
    QCOMPARE(listing.files.size(), size_t(11));

    const FileEntry *entry = find(listing, name);
    QVERIFY(entry);
    QVERIFY(entry->statOk);
    QCOMPARE(entry->stat.size, size);
    QCOMPARE(int(entry->attributes), attributes);
    QVERIFY(entry->stat.modified > 0);
    QCOMPARE(folder.stat(name).value().size, size);
}

void tst_FileListing::foldersAreSeparate()
{
    QCOMPARE(::mkdir(path("sub").constData(), 0755), 0);
    QCOMPARE(::mkdir(path(".hidden-sub").constData(), 0755), 0);
    QCOMPARE(::symlink("sub", path("link-to-sub").constData()), 0);
    makeFile("file", 1);

    const FolderListing listing = FolderHandle::open(m_root).list(PatternMatcher(u"*.txt"_s));
    std::vector<QByteArray> folders = listing.folders;
    std::sort(folders.begin(), folders.end());
    QCOMPARE(folders, (std::vector<QByteArray> { ".hidden-sub", "link-to-sub", "sub" }));
    QVERIFY(listing.files.empty());
}

void tst_FileListing::patternFiltersFiles()
{
    makeFile("a.TXT", 1);
    makeFile("b.txt", 2);
    makeFile("c.doc", 3);
    QCOMPARE(::symlink("c.doc", path("d.txt").constData()), 0);

    const FolderListing listing = FolderHandle::open(m_root).list(PatternMatcher(u"*.txt"_s));
    std::vector<QByteArray> names;
    for (const FileEntry &entry : listing.files)
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    QCOMPARE(names, (std::vector<QByteArray> { "a.TXT", "b.txt", "d.txt" }));
}

void tst_FileListing::fifoIsNeverOpened()
{
    // Opening a FIFO without a writer blocks; listing and re-reading must not.
    QCOMPARE(::mkfifo(path("pipe").constData(), 0644), 0);
    const FolderHandle folder = FolderHandle::open(m_root);
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.files.size(), size_t(1));
    QCOMPARE(int(listing.files.front().attributes), int(AttrSystem));
    QCOMPARE(folder.stat("pipe").value().size, qint64(0));
}

void tst_FileListing::restatFollowsChanges()
{
    makeFile("grows", 10);
    makeFile("goes", 10);
    const FolderHandle folder = FolderHandle::open(m_root);
    QCOMPARE(folder.list(PatternMatcher()).files.size(), size_t(2));

    makeFile("grows", 20);
    QCOMPARE(::unlink(path("goes").constData()), 0);
    QCOMPARE(folder.stat("grows").value().size, qint64(20));
    QVERIFY(!folder.stat("goes").has_value());
    QVERIFY(!folder.stat("").has_value());
    QVERIFY(!folder.stat("../grows").has_value());

    // A file replaced by a folder is no longer a file.
    QCOMPARE(::unlink(path("grows").constData()), 0);
    QCOMPARE(::mkdir(path("grows").constData(), 0755), 0);
    QVERIFY(!folder.stat("grows").has_value());
}

void tst_FileListing::longPathBeyondPathMax()
{
    const QByteArray component(200, 'd');
    QByteArray deep = m_root;
    int fd = ::open(m_root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < 25; ++level) {
        QCOMPARE(::mkdirat(fd, component.constData(), 0755), 0);
        const int next = ::openat(fd, component.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        QVERIFY(fd >= 0);
        deep += '/' + component;
    }
    const int file = ::openat(fd, "deep.txt", O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    QVERIFY(file >= 0);
    QCOMPARE(::write(file, "abc", 3), ssize_t(3));
    ::close(file);
    ::close(fd);
    QVERIFY(deep.size() > PATH_MAX);

    const FolderHandle folder = FolderHandle::open(deep);
    QVERIFY(folder.isOpen());
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.files.size(), size_t(1));
    QCOMPARE(listing.files.front().stat.size, qint64(3));
}

void tst_FileListing::missingFolder()
{
    const FolderHandle folder = FolderHandle::open(path("nowhere"));
    QVERIFY(!folder.isOpen());
    QCOMPARE(folder.error(), ENOENT);
    const FolderListing listing = folder.list(PatternMatcher());
    QVERIFY(listing.files.empty());
    QVERIFY(listing.error != 0);
    QVERIFY(!folder.stat("x").has_value());

    makeFile("file", 1);
    QCOMPARE(FolderHandle::open(path("file")).error(), ENOTDIR);
    QVERIFY(!FolderHandle::open(QByteArray()).isOpen());
}

void tst_FileListing::unreadableFolder()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    QCOMPARE(::mkdir(path("closed").constData(), 0755), 0);
    QCOMPARE(::close(::open(path("closed/inside").constData(), O_CREAT | O_WRONLY, 0644)), 0);
    QCOMPARE(::chmod(path("closed").constData(), 0), 0);

    const FolderHandle folder = FolderHandle::open(path("closed"));
    QVERIFY(!folder.isOpen());
    QCOMPARE(folder.error(), EACCES);
    const FolderListing listing = folder.list(PatternMatcher());
    QVERIFY(listing.files.empty());
    QVERIFY(listing.folders.empty());
    QCOMPARE(listing.error, EACCES);
    ::chmod(path("closed").constData(), 0755);
}

void tst_FileListing::searchOnlyFolder()
{
    // Names readable, entries not: every name is still listed, sized 0 and marked unread.
    if (::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    QCOMPARE(::mkdir(path("names-only").constData(), 0755), 0);
    QCOMPARE(::close(::open(path("names-only/a").constData(), O_CREAT | O_WRONLY, 0644)), 0);
    QCOMPARE(::chmod(path("names-only").constData(), 0444), 0);

    const FolderHandle folder = FolderHandle::open(path("names-only"));
    QVERIFY(folder.isOpen());
    const FolderListing listing = folder.list(PatternMatcher());
    QCOMPARE(listing.files.size(), size_t(1));
    QVERIFY(!listing.files.front().statOk);
    QCOMPARE(listing.files.front().stat.size, qint64(0));
    QVERIFY(!folder.stat("a").has_value());
    ::chmod(path("names-only").constData(), 0755);
}

QTEST_APPLESS_MAIN(tst_FileListing)
#include "tst_filelisting.moc"
