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

} // namespace

class tst_OutputFile : public QObject
{
    Q_OBJECT

private slots:
    void replacement_data();
    void replacement();
};

void tst_OutputFile::replacement_data()
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
        << QString() << QString() << QByteArray("<cannot read>") << QStringList();
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

void tst_OutputFile::replacement()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    ScratchFolder folder;
    const QByteArray path = folder.path(kind == u"no folder" ? "none/out.pdf" : "out.pdf");
    QVERIFY(makeEntry(kind, path, folder.path("other")));
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
            QCOMPARE(readAll(QFile::decodeName(path)), existed ? "old" : "<cannot read>");
            if (!kind.isEmpty()) // committed, else discarded
                QVERIFY2(file.commit(), qPrintable(file.errorString()));
        }
    }
    QTEST(QDir(folder.text())
              .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDir::Name),
          "left");
    if (!error.isEmpty())
        return;
    QTEST(readAll(QFile::decodeName(path)), "content");
    QCOMPARE(QFileInfo(QFile::decodeName(path)).isSymbolicLink(), kind.contains(u"link"));
    struct stat after
    {
    };
    if (existed && ::stat(path.constData(), &after) == 0)
        QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
}

QTEST_GUILESS_MAIN(tst_OutputFile)
#include "tst_outputfile.moc"
