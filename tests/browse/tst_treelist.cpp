#include "browse/treelist.h"
#include "platform/wildcard.h"
#include "support/scratchfolder.h"

#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qm;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(AttributeSwitches)

class tst_TreeList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void walk_data();
    void walk();
    void foldersAreEnteredInListOrder();
    void sizesAreReadAfresh();
    void unreadableFolderIsReportedAndSkipped();

private:
    QByteArray path(const QByteArray &name) const { return m_dir->path() + "/top/" + name; }
    void makeFile(const QByteArray &name, qint64 size)
    {
        const int fd = ::open(path(name).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        QVERIFY2(fd >= 0, name.constData());
        QCOMPARE(::ftruncate(fd, off_t(size)), 0);
        ::close(fd);
    }
    void makeFolder(const QByteArray &name) { QCOMPARE(::mkdir(path(name).constData(), 0755), 0); }
    void makeLink(const QByteArray &target, const QByteArray &name)
    {
        QCOMPARE(::symlink(target.constData(), path(name).constData()), 0);
    }

    std::unique_ptr<test::ScratchFolder> m_dir;
};

void tst_TreeList::init()
{
    QLocale::setDefault(QLocale::c());
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
    QCOMPARE(::mkdir((m_dir->path() + "/top").constData(), 0755), 0);
    makeFile("a.txt", 1);
    makeFile("B.txt", 2);
    makeFile(".hidden", 4);
    QCOMPARE(::mkfifo(path("fifo").constData(), 0644), 0);
    makeLink("nowhere", "dangling");
    makeLink("self", "self"); // a link that leads back to itself
    makeFolder("zeta");
    makeFile("zeta/z.txt", 8);
    makeFolder("Alpha");
    makeFile("Alpha/x.TXT", 16);
    makeFolder("Alpha/inner");
    makeFile("Alpha/inner/deep.txt", 32);
    makeLink("..", "Alpha/loop"); // back up the tree: entering it would never end
    makeLink("zeta", "link-to-zeta");
    makeFolder("empty");
    makeFolder("bad\xff");
    makeFile("bad\xff/f\xfe.txt", 64);
}

void tst_TreeList::walk_data()
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

void tst_TreeList::walk()
{
    QFETCH(QString, pattern);
    QFETCH(AttributeSwitches, switches);
    QFETCH(QString, names);
    TreeList tree;
    int problems = 0;
    const TreeResult result = tree.list(m_dir->path() + "/top", PatternMatcher(pattern), switches,
                                        {}, [&](const TreeProblem &) { ++problems; });
    QCOMPARE(result.error, 0);
    QCOMPARE(problems, 0);
    QStringList listed;
    for (qint64 i = 0; i < tree.count(); ++i)
        listed << tree.displayName(i);
    QCOMPARE(listed.join(u'|'), names);
    QCOMPARE(result.fileCount, tree.count());
    QTEST(result.byteTotal, "bytes");
    QTEST(tree.name(tree.count() - 1), "lastName");
    QCOMPARE(tree.folderText(), m_dir->text() + u"/top"_s);
    QCOMPARE(tree.folderPrefix(), m_dir->text() + u"/top/"_s);
}

void tst_TreeList::foldersAreEnteredInListOrder()
{
    TreeList tree;
    QStringList entered;
    tree.list(m_dir->path() + "/top", PatternMatcher(), AttributeSwitches(),
              [&](const QString &folder) { entered << folder; });
    QCOMPARE(entered,
             (QStringList { QString(), u"Alpha/"_s, u"Alpha/inner/"_s, u"bad\\xff/"_s, u"empty/"_s,
                            u"zeta/"_s }));
}

void tst_TreeList::sizesAreReadAfresh()
{
    TreeList tree;
    tree.list(m_dir->path() + "/top", PatternMatcher(u"*.txt"_s), AttributeSwitches());
    QCOMPARE(tree.displayName(3), u"Alpha/inner/deep.txt"_s);
    QCOMPARE(::truncate(path("Alpha/inner/deep.txt").constData(), 100), 0);
    QCOMPARE(::unlink(path("zeta/z.txt").constData()), 0);
    QCOMPARE(tree.stat(3)->size, 100); // a folder below the top, opened for its line
    QCOMPARE(tree.stat(0)->size, 1); // the top again
    QVERIFY(!tree.stat(5)); // gone: no size, no time
    QCOMPARE(tree.displayName(5), u"zeta/z.txt"_s);
}

// Run again as an ordinary user by the test command: root reads every folder.
void tst_TreeList::unreadableFolderIsReportedAndSkipped()
{
    if (::geteuid() == 0)
        QSKIP("root reads every folder; the unprivileged run checks this");
    makeFolder("locked");
    makeFile("locked/secret.txt", 1);
    QCOMPARE(::chmod(path("locked").constData(), 0), 0);
    TreeList tree;
    QStringList said;
    const TreeResult result
        = tree.list(m_dir->path() + "/top", PatternMatcher(u"*.txt"_s), AttributeSwitches(), {},
                    [&](const TreeProblem &p) { said << u"%1 %2"_s.arg(p.text).arg(p.error); });
    QCOMPARE(result.error, 0);
    QCOMPARE(said, QStringList { u"locked %1"_s.arg(EACCES) });
    QCOMPARE(result.problems.size(), size_t(1));
    QCOMPARE(result.problems.front().folder, QByteArray("locked"));
    QCOMPARE(tree.count(), 6); // the folders after it are still read
    QCOMPARE(tree.displayName(5), u"zeta/z.txt"_s);
}

QTEST_GUILESS_MAIN(tst_TreeList)
#include "tst_treelist.moc"
