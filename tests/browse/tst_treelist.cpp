#include "browse/treelist.h"
#include "platform/wildcard.h"
#include "support/scratchfolder.h"

#include <QTest>

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
    void sizesAreReadAfresh();

private:
    QByteArray top() const { return m_dir->path("top"); }

    std::unique_ptr<test::ScratchFolder> m_dir;
};

void tst_TreeList::init()
{
    QLocale::setDefault(QLocale::c());
    m_dir = std::make_unique<test::ScratchFolder>();
    QVERIFY(m_dir->isValid());
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
    QStringList entered;
    const TreeResult result = tree.list(
        top(), PatternMatcher(pattern), switches, [&](const QString &f) { entered << f; },
        [&](const TreeProblem &) { ++problems; });
    QCOMPARE(result.error, 0);
    QCOMPARE(problems, 0);
    QCOMPARE(entered,
             (QStringList { QString(), u"Alpha/"_s, u"Alpha/inner/"_s, u"bad\\xff/"_s, u"empty/"_s,
                            u"zeta/"_s }));
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

void tst_TreeList::sizesAreReadAfresh()
{
    TreeList tree;
    tree.list(top(), PatternMatcher(u"*.txt"_s), AttributeSwitches());
    QCOMPARE(tree.displayName(3), u"Alpha/inner/deep.txt"_s);
    QCOMPARE(::truncate(m_dir->path("top/Alpha/inner/deep.txt").constData(), 100), 0);
    QCOMPARE(::unlink(m_dir->path("top/zeta/z.txt").constData()), 0);
    QCOMPARE(tree.stat(3)->size, 100); // a folder below the top, opened for its line
    QCOMPARE(tree.stat(0)->size, 1); // the top again
    QVERIFY(!tree.stat(5)); // gone: no size, no time
    QCOMPARE(tree.displayName(5), u"zeta/z.txt"_s);
}

QTEST_GUILESS_MAIN(tst_TreeList)
#include "tst_treelist.moc"
