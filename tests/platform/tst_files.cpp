#include "platform/attributes.h"
#include "platform/drives.h"
#include "platform/filelisting.h"
#include "platform/outputfile.h"
#include "platform/wildcard.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QTest>

#include <cstring>

#include <climits>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace qm;
using namespace qm::test;
using namespace Qt::StringLiterals;

namespace {

// Puts one kind of entry at \a path: "file", "socket", "link to file", "link to fifo",
// "dangling link", "looping link", or nothing. The window's tests put folders, FIFOs and devices
// there.
bool makeEntry(const QString &kind, const QByteArray &path, const QByteArray &other)
{
    if (kind == u"file")
        return writeFile(QFile::decodeName(path), "old");
    if (kind == u"socket") {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        if (fd < 0 || size_t(path.size()) >= sizeof(address.sun_path))
            return false;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    if (kind == u"link to file")
        return writeFile(QFile::decodeName(other), "old") && ::symlink(other, path) == 0;
    if (kind == u"link to fifo")
        return ::mkfifo(other.constData(), 0644) == 0 && ::symlink(other, path) == 0;
    if (kind == u"dangling link")
        return ::symlink(other.constData(), path.constData()) == 0;
    if (kind == u"looping link")
        return ::symlink(path.constData(), path.constData()) == 0;
    return true;
}

// What listing \a folder gives: its error, then one "name size attributes" line each in name
// order, the attributes as letters (h, r, s, a) or "-", "unread" before a size not read.
QStringList listed(const FolderHandle &folder)
{
    const FolderListing listing = folder.list(PatternMatcher());
    QStringList lines;
    for (const FileEntry &entry : listing.files) {
        QString attributes;
        for (const auto &[bit, letter] : { std::pair { AttrHidden, u'h' },
                                           { AttrReadOnly, u'r' },
                                           { AttrSystem, u's' },
                                           { AttrArchive, u'a' } })
            attributes += entry.attributes & bit ? QString(letter) : QString();
        lines << u"%1 %2%3 %4"_s
                     .arg(QString::fromUtf8(entry.name), entry.statOk ? QString() : u"unread "_s)
                     .arg(entry.stat.size)
                     .arg(attributes.isEmpty() ? u"-"_s : attributes);
    }
    lines.sort();
    return QStringList { u"error %1"_s.arg(listing.error) } + lines;
}

} // namespace

// Listing a folder, and replacing an output file only when the new one is complete.
class tst_Files : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void paths_data();
    void paths();
    void entries();
    void crowdedFolderListsEveryEntryOnce();
    void folderDeeperThanAPathCanName();
    void searchOnlyFolder();
    void replacement_data();
    void replacement();

private:
    std::unique_ptr<ScratchFolder> m_dir;
};

void tst_Files::init()
{
    m_dir = std::make_unique<ScratchFolder>();
    QVERIFY(m_dir->isValid());
}

void tst_Files::paths_data()
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

void tst_Files::paths()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, clean);
    QCOMPARE(cleanFolderPath(path), clean);
    const QStringList mounts { u"/"_s, u"/mnt/usb/inner"_s, u"/mnt/usb"_s };
    QTEST(driveOf(QString::fromUtf8(clean), mounts), "drive");
}

void tst_Files::entries()
{
    QVERIFY(m_dir->makeFile("locked.txt", 7)
            && ::chmod(m_dir->path("locked.txt").constData(), 0444) == 0);
    QCOMPARE(::mkfifo(m_dir->path("pipe").constData(), 0644), 0);
    QCOMPARE(::mkdir(m_dir->path("sub").constData(), 0755), 0);
    // The owner's write bit off is read-only, a FIFO is system; the folder is no file.
    const FolderHandle folder = FolderHandle::open(m_dir->path());
    QCOMPARE(listed(folder), (QStringList { u"error 0"_s, u"locked.txt 7 r"_s, u"pipe 0 s"_s }));
    // Opening a FIFO without a writer would block: sizing it again must not.
    QCOMPARE(folder.stat("pipe").value().size, 0);
    QCOMPARE(folder.stat("locked.txt").value().size, 7);
}

void tst_Files::folderDeeperThanAPathCanName()
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
    QCOMPARE(listed(folder), (QStringList { u"error 0"_s, u"deep.txt 7 -"_s }));
    QCOMPARE(folder.stat("deep.txt").value().size, qint64(7));
}

void tst_Files::crowdedFolderListsEveryEntryOnce()
{
    // Enough names for the stats to be shared between threads.
    QStringList expected { u"error 0"_s };
    for (int i = 0; i < 6000; ++i) {
        const QByteArray name = QByteArray::number(i).rightJustified(5, '0');
        QVERIFY(m_dir->makeFile(name, i % 97));
        expected << u"%1 %2 -"_s.arg(QLatin1StringView(name)).arg(i % 97);
    }
    QCOMPARE(listed(FolderHandle::open(m_dir->path())), expected);
}

void tst_Files::searchOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind root; the unprivileged run covers this");
    QCOMPARE(::mkdir(m_dir->path("names-only").constData(), 0755), 0);
    QVERIFY(m_dir->makeFile("names-only/a", 5));
    QCOMPARE(::chmod(m_dir->path("names-only").constData(), 0444), 0);
    // The names can be read, the entries not: each is listed, sized 0 and marked unread.
    const FolderHandle folder = FolderHandle::open(m_dir->path("names-only"));
    QCOMPARE(listed(folder), (QStringList { u"error 0"_s, u"a unread 0 -"_s }));
    QVERIFY(!folder.stat("a").has_value());
}

void tst_Files::replacement_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error"); // why the file cannot be made; empty: it can
    QTest::addColumn<QByteArray>("content"); // of the file the path names afterwards
    QTest::addColumn<QStringList>("left"); // in the folder afterwards
    const QString cannot = u"The file cannot be written: %1."_s;
    const QStringList both { u"other"_s, u"out.pdf"_s };
    QTest::newRow("commit replaces the earlier file, with its permissions")
        << u"file"_s << QString() << QByteArray("new") << QStringList { u"out.pdf"_s };
    QTest::newRow("commit through a link replaces its file, the link stays")
        << u"link to file"_s << QString() << QByteArray("new") << both;
    QTest::newRow("commit through a dangling link makes its file")
        << u"dangling link"_s << QString() << QByteArray("new") << both;
    QTest::newRow("discard where nothing was leaves nothing")
        << QString() << QString() << QByteArray("<none>") << QStringList();
    QTest::newRow("link to a fifo")
        << u"link to fifo"_s << u"It is a named pipe (FIFO), not a regular file."_s << QByteArray()
        << both;
    QTest::newRow("socket") << u"socket"_s << u"It is a socket, not a regular file."_s
                            << QByteArray() << QStringList { u"out.pdf"_s };
    QTest::newRow("looping link") << u"looping link"_s << cannot.arg(qt_error_string(ELOOP))
                                  << QByteArray() << QStringList { u"out.pdf"_s };
    QTest::newRow("no folder to write beside")
        << u"no folder"_s << cannot.arg(qt_error_string(ENOENT)) << QByteArray() << QStringList();
}

void tst_Files::replacement()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    const QByteArray path = m_dir->path(kind == u"no folder" ? "none/out.pdf" : "out.pdf");
    QVERIFY(makeEntry(kind, path, m_dir->path("other")));
    QCOMPARE(outputRefusal(QFile::decodeName(path)).value_or(QString()),
             kind == u"no folder" ? QString() : error);
    // The replacement keeps the earlier file's permissions.
    struct stat before
    {
    };
    if (kind == u"file")
        QVERIFY(::chmod(path.constData(), 0604) == 0);
    const bool existed = ::stat(path.constData(), &before) == 0;
    {
        ReplacingFile file(QFile::decodeName(path));
        QCOMPARE(file.create() ? QString() : file.errorString(), error);
        QCOMPARE(file.temporaryName().isEmpty(), !error.isEmpty());
        if (error.isEmpty()) {
            // Written by name, as the PDF engine does.
            QVERIFY(writeFile(file.temporaryName(), "new"));
            QCOMPARE(fileBytes(QFile::decodeName(path)), existed ? "old" : "<none>");
            if (!kind.isEmpty()) // committed, else discarded
                QVERIFY2(file.commit(), qPrintable(file.errorString()));
        }
    }
    QTEST(entriesOf(m_dir->text()), "left");
    if (!error.isEmpty())
        return;
    QTEST(fileBytes(QFile::decodeName(path)), "content");
    QCOMPARE(QFileInfo(QFile::decodeName(path)).isSymbolicLink(), kind.contains(u"link"));
    struct stat after
    {
    };
    if (existed && ::stat(path.constData(), &after) == 0)
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
}

QTEST_GUILESS_MAIN(tst_Files)
#include "tst_files.moc"
