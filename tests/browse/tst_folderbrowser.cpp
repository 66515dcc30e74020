#include "browse/folderbrowser.h"
#include "platform/drives.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

#include "platform/scratchfolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qm;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(qm::AttributeSwitches)

class tst_FolderBrowser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folderPrefix_data();
    void folderPrefix();
    void countAndTotal_data();
    void countAndTotal();
    void listOrderAndText();
    void emptyFolder();
    void folderList();
    void catalogueSourceReadsAfresh();
    void deletedFolderFallsBack();
    void unreadableFolder();

private:
    QByteArray path(const QByteArray &name) const { return m_root + '/' + name; }
    void makeFile(const QByteArray &name, qint64 size, mode_t mode = 0644);
    QStringList shownNames(const FolderBrowser &browser) const;

    std::unique_ptr<test::ScratchFolder> m_dir;
    QByteArray m_root;
};

void tst_FolderBrowser::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->path();
}

void tst_FolderBrowser::cleanup()
{
    m_dir.reset();
}

void tst_FolderBrowser::makeFile(const QByteArray &name, qint64 size, mode_t mode)
{
    const int fd = ::open(path(name).constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY2(fd >= 0, name.constData());
    QCOMPARE(::ftruncate(fd, off_t(size)), 0);
    ::close(fd);
    QCOMPARE(::chmod(path(name).constData(), mode), 0);
}

QStringList tst_FolderBrowser::shownNames(const FolderBrowser &browser) const
{
    QStringList names;
    const FileListModel &model = browser.files();
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.data(model.index(row), Qt::DisplayRole).toString();
    return names;
}

void tst_FolderBrowser::folderPrefix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("root stays as it is") << u"/"_s << u"/"_s;
    QTest::newRow("sub-folder gains a separator") << u"/home/docs"_s << u"/home/docs/"_s;
    QTest::newRow("already ends in a separator") << u"/home/docs/"_s << u"/home/docs/"_s;
}

void tst_FolderBrowser::folderPrefix()
{
    QFETCH(QString, path);
    QFETCH(QString, prefix);
    QCOMPARE(qm::folderPrefix(path), prefix);
}

void tst_FolderBrowser::countAndTotal_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<AttributeSwitches>("switches");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<quint64>("total");

    const quint64 big = quint64(5) * 1024 * 1024 * 1024 + 1;
    const AttributeSwitches all { true, true, true, true, true };
    // Files: big.img (5 GiB + 1, sparse), a.txt (1000), .hidden.txt (20), ro.txt (300,
    // read-only), bad\xff.txt (7), pipe (FIFO), dangling (link: own size 5).
    QTest::newRow("everything, 64-bit total beyond 4 GiB")
        << u"*.*"_s << all << qint64(7) << big + 1000 + 20 + 300 + 7 + 0 + 5;
    QTest::newRow("pattern narrows the list")
        << u"*.txt"_s << all << qint64(4) << quint64(1000 + 20 + 300 + 7);
    QTest::newRow("Hidden off drops the dot file")
        << u"*.txt"_s << AttributeSwitches { true, false, true, true, true } << qint64(3)
        << quint64(1000 + 300 + 7);
    QTest::newRow("System off drops the FIFO and the dangling link")
        << u"*"_s << AttributeSwitches { true, true, false, true, true } << qint64(5)
        << big + 1000 + 20 + 300 + 7;
    QTest::newRow("only Read Only on lists nothing normal")
        << u"*"_s << AttributeSwitches { false, false, false, true, false } << qint64(1)
        << quint64(300);
    QTest::newRow("all five off lists nothing")
        << u"*.*"_s << AttributeSwitches { false, false, false, false, false } << qint64(0)
        << quint64(0);
    QTest::newRow("pattern matching nothing") << u"*.none"_s << all << qint64(0) << quint64(0);
    QTest::newRow("invalid UTF-8 name matched through its text")
        << u"bad\\xff*"_s << all << qint64(1) << quint64(7);
}

void tst_FolderBrowser::countAndTotal()
{
    QFETCH(QString, pattern);
    QFETCH(AttributeSwitches, switches);
    QFETCH(qint64, count);
    QFETCH(quint64, total);

    makeFile("big.img", qint64(5) * 1024 * 1024 * 1024 + 1);
    makeFile("a.txt", 1000);
    makeFile(".hidden.txt", 20);
    makeFile("ro.txt", 300, 0444);
    makeFile("bad\xff.txt", 7);
    QCOMPARE(::mkfifo(path("pipe").constData(), 0644), 0);
    QCOMPARE(::symlink("nowhr", path("dangling").constData()), 0);
    QCOMPARE(::mkdir(path("sub").constData(), 0755), 0);
    QCOMPARE(::symlink("sub", path("link-to-sub").constData()), 0);

    FolderBrowser browser;
    browser.setFolderPath(m_root);
    browser.setPattern(pattern);
    browser.setSwitches(switches);
    const RefreshResult result = browser.refresh();
    QCOMPARE(result.error, 0);
    QCOMPARE(result.fileCount, count);
    QCOMPARE(result.byteTotal, total);
    QCOMPARE(browser.files().count(), count);
    QCOMPARE(browser.files().rowCount(), int(count));
}

void tst_FolderBrowser::listOrderAndText()
{
    for (const QByteArray name :
         { "beta", "Alpha", "alpha", "two\nlines", "caf\xc3\xa9", "bad\xfe", "Gamma" })
        makeFile(name, 1);
    FolderBrowser browser;
    browser.setFolderPath(m_root);
    browser.refresh();
    QCOMPARE(shownNames(browser),
             (QStringList { u"Alpha"_s, u"alpha"_s, u"bad\\xfe"_s, u"beta"_s, u"café"_s, u"Gamma"_s,
                            u"two\\nlines"_s }));
    // The exact bytes stay with each entry for every later file-system call.
    QCOMPARE(browser.files().entry(2).name, QByteArray("bad\xfe"));
    QCOMPARE(browser.files().stat(2).value().size, qint64(1));
    QCOMPARE(browser.files().stat(6).value().size, qint64(1));
}

void tst_FolderBrowser::emptyFolder()
{
    FolderBrowser browser;
    browser.setFolderPath(m_root);
    const RefreshResult result = browser.refresh();
    QCOMPARE(result.fileCount, qint64(0));
    QCOMPARE(result.byteTotal, quint64(0));
    QCOMPARE(result.error, 0);
    QCOMPARE(browser.files().rowCount(), 0);
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
    const QString drive = driveOf(browser.folder());
    const QStringList below = browser.folder().mid(drive.size()).split(u'/', Qt::SkipEmptyParts);
    const int current = int(below.size());
    QCOMPARE(folders.currentRow(), current);
    QCOMPARE(folders.rowCount(), current + 1 + 4);

    QCOMPARE(folders.item(0).label, drive);
    QCOMPARE(folders.item(0).path, QFile::encodeName(drive));
    for (int row = 0; row <= current; ++row) {
        QCOMPARE(folders.item(row).depth, row);
        QVERIFY(folders.item(row).open);
        if (row > 0)
            QCOMPARE(folders.item(row).label, below.at(row - 1));
    }
    QCOMPARE(folders.item(current).path, m_root);

    const QStringList subLabels { u"alpha"_s, u"bad\\xff"_s, u"Beta"_s, u"gamma"_s };
    for (int i = 0; i < 4; ++i) {
        const FolderItem &item = folders.item(current + 1 + i);
        QCOMPARE(item.label, subLabels.at(i));
        QCOMPARE(item.depth, current + 1);
        QVERIFY(!item.open);
    }
    QCOMPARE(folders.item(current + 2).path, m_root + "/bad\xff");

    // Going into the folder with an invalid name works on its bytes.
    browser.setFolderPath(folders.item(current + 2).path);
    const RefreshResult result = browser.refresh();
    QCOMPARE(result.error, 0);
    QVERIFY(!result.fellBack);
    QCOMPARE(browser.folders().item(browser.folders().currentRow()).label, u"bad\\xff"_s);
}

void tst_FolderBrowser::catalogueSourceReadsAfresh()
{
    makeFile("grows", 10);
    makeFile("vanishes", 10);
    FolderBrowser browser;
    browser.setFolderPath(m_root);
    browser.refresh();
    const CatalogueSource &source = browser.files();
    QCOMPARE(source.count(), qint64(2));
    QCOMPARE(source.displayName(0), u"grows"_s);
    QCOMPARE(source.folderPrefix(), QFile::decodeName(m_root) + u'/');

    makeFile("grows", 4096);
    QCOMPARE(::unlink(path("vanishes").constData()), 0);
    QCOMPARE(source.stat(0).value().size, qint64(4096));
    QVERIFY(!source.stat(1).has_value());
    QVERIFY(!source.stat(2).has_value());
    QVERIFY(!source.stat(-1).has_value());
    QCOMPARE(source.displayName(5), QString());
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
    QCOMPARE(result.error, 0);
    QCOMPARE(browser.folderPath(), path("a"));
    QCOMPARE(result.fileCount, qint64(1));
    QCOMPARE(shownNames(browser), QStringList { u"kept"_s });

    // A stored folder that never existed goes the same way.
    browser.setFolder(m_dir->text() + u"/never/there"_s);
    QVERIFY(browser.refresh().fellBack);
    QCOMPARE(browser.folderPath(), m_root);
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
    QCOMPARE(result.fileCount, qint64(0));
    QCOMPARE(browser.folderPath(), path("closed"));
    QCOMPARE(browser.files().rowCount(), 0);
    QVERIFY(!browser.files().stat(0).has_value());
    // The way out is still shown.
    QCOMPARE(browser.folders().currentRow(), browser.folders().rowCount() - 1);
}

QTEST_GUILESS_MAIN(tst_FolderBrowser)
#include "tst_folderbrowser.moc"
