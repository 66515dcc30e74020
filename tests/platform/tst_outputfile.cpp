#include "platform/outputfile.h"
#include "support/scratchfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace qm;
using namespace qm::test;

namespace {

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

bool writeFile(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Puts one kind of entry at \a path: "", "file", "folder", "fifo", "socket", "link to file",
// "link to fifo", "dangling link", "looping link".
bool makeEntry(const QString &kind, const QByteArray &path, const QByteArray &other)
{
    if (kind.isEmpty())
        return true;
    if (kind == u"file")
        return writeFile(QFile::decodeName(path), "old");
    if (kind == u"folder")
        return ::mkdir(path.constData(), 0755) == 0;
    if (kind == u"fifo")
        return ::mkfifo(path.constData(), 0644) == 0;
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
    return false;
}

} // namespace

class tst_OutputFile : public QObject
{
    Q_OBJECT

private slots:
    void refusal_data();
    void refusal();
    void replacement_data();
    void replacement();
    void cannotCreateBesideSaysWhy();
};

void tst_OutputFile::refusal_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("refusal"); // empty: the path takes a file
    QTest::newRow("nothing there yet") << QString() << QString();
    QTest::newRow("regular file") << u"file"_s << QString();
    QTest::newRow("link to a regular file") << u"link to file"_s << QString();
    QTest::newRow("dangling link: its file is made") << u"dangling link"_s << QString();
    QTest::newRow("folder") << u"folder"_s << u"It is a folder, not a file."_s;
    QTest::newRow("fifo") << u"fifo"_s << u"It is a named pipe (FIFO), not a regular file."_s;
    QTest::newRow("link to a fifo")
        << u"link to fifo"_s << u"It is a named pipe (FIFO), not a regular file."_s;
    QTest::newRow("socket") << u"socket"_s << u"It is a socket, not a regular file."_s;
    QTest::newRow("character device")
        << u"/dev/null"_s << u"It is a character device, not a regular file."_s;
    QTest::newRow("looping link") << u"looping link"_s
                                  << u"The file cannot be written: %1."_s.arg(
                                         qt_error_string(ELOOP));
}

void tst_OutputFile::refusal()
{
    QFETCH(QString, kind);
    ScratchFolder folder;
    QByteArray path = folder.path() + "/out.pdf";
    if (kind.startsWith(u'/'))
        path = QFile::encodeName(kind); // one that is there already
    else
        QVERIFY(makeEntry(kind, path, folder.path() + "/other"));
    QTEST(outputRefusal(QFile::decodeName(path)).value_or(QString()), "refusal");
}

void tst_OutputFile::replacement_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("commit");
    QTest::addColumn<QByteArray>("content"); // of the file the path names afterwards
    QTest::addColumn<QStringList>("left"); // in the folder afterwards
    const QStringList out { u"out.pdf"_s }, linked { u"other"_s, u"out.pdf"_s };
    QTest::newRow("commit replaces the earlier file")
        << u"file"_s << true << QByteArray("new") << out;
    QTest::newRow("discard keeps it byte for byte")
        << u"file"_s << false << QByteArray("old") << out;
    QTest::newRow("commit through a link replaces its file, the link stays")
        << u"link to file"_s << true << QByteArray("new") << linked;
    QTest::newRow("commit where nothing was") << QString() << true << QByteArray("new") << out;
    QTest::newRow("discard where nothing was")
        << QString() << false << QByteArray("<cannot read>") << QStringList();
}

void tst_OutputFile::replacement()
{
    QFETCH(QString, kind);
    QFETCH(bool, commit);
    ScratchFolder folder;
    const QByteArray path = folder.path() + "/out.pdf";
    QVERIFY(makeEntry(kind, path, folder.path() + "/other"));
    // The replacement keeps the earlier file's permissions.
    struct stat before
    {
    };
    if (kind == u"file")
        QVERIFY(::chmod(path.constData(), 0604) == 0);
    const bool existed = ::stat(path.constData(), &before) == 0;
    {
        ReplacingFile file(QFile::decodeName(path));
        QVERIFY2(file.create(), qPrintable(file.errorString()));
        // Written by name, as the PDF engine does.
        QVERIFY(writeFile(file.temporaryName(), "new"));
        QCOMPARE(readAll(QFile::decodeName(path)), existed ? "old" : "<cannot read>");
        if (commit)
            QVERIFY2(file.commit(), qPrintable(file.errorString()));
    }
    QTEST(readAll(QFile::decodeName(path)), "content");
    QTEST(QDir(folder.text()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
          "left");
    QCOMPARE(QFileInfo(QFile::decodeName(path)).isSymbolicLink(), kind == u"link to file");
    struct stat after
    {
    };
    if (existed && ::stat(path.constData(), &after) == 0)
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
}

void tst_OutputFile::cannotCreateBesideSaysWhy()
{
    ScratchFolder folder;
    ReplacingFile file(folder.text() + u"/no such folder/out.pdf"_s);
    QVERIFY(!file.create());
    QCOMPARE(file.errorString(), u"The file cannot be written: %1."_s.arg(qt_error_string(ENOENT)));
    QVERIFY(file.temporaryName().isEmpty());
}

QTEST_GUILESS_MAIN(tst_OutputFile)
#include "tst_outputfile.moc"
