#include "platform/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "platform/scratchfolder.h"

#include <sys/stat.h>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Drives : public QObject
{
    Q_OBJECT

private slots:
    void driveOf_data();
    void driveOf();
    void drivesList();
    void cleanPath_data();
    void cleanPath();
    void nearestExisting();
};

void tst_Drives::driveOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");

    QTest::newRow("root itself") << u"/"_s << u"/"_s;
    QTest::newRow("folder on the root file system") << u"/home/user"_s << u"/"_s;
    QTest::newRow("mount root itself") << u"/mnt/usb"_s << u"/mnt/usb"_s;
    QTest::newRow("inside a mount") << u"/mnt/usb/photos"_s << u"/mnt/usb"_s;
    QTest::newRow("name that only starts like a mount") << u"/mnt/usbkey"_s << u"/"_s;
    QTest::newRow("longest mount wins") << u"/mnt/usb/inner/x"_s << u"/mnt/usb/inner"_s;
}

void tst_Drives::driveOf()
{
    QFETCH(QString, path);
    QFETCH(QString, drive);
    const QStringList roots { u"/"_s, u"/mnt/usb"_s, u"/mnt/usb/inner"_s, u"/media/cd"_s };
    QCOMPARE(qm::driveOf(path, roots), drive);
}

void tst_Drives::drivesList()
{
    const QStringList list = drives();
    QVERIFY(!list.isEmpty());
    QCOMPARE(list.first(), u"/"_s);
    for (const QString &root : list) {
        QVERIFY2(!root.startsWith(u"/proc"_s) && !root.startsWith(u"/sys"_s), qPrintable(root));
        QVERIFY2(!root.startsWith(u"/dev"_s), qPrintable(root));
        QVERIFY2(QFileInfo(root).isDir(), qPrintable(root));
    }
    QStringList rest = list.mid(1);
    QStringList sorted = rest;
    sorted.sort();
    QCOMPARE(rest, sorted);
    QStringList unique = list;
    QCOMPARE(unique.removeDuplicates(), qsizetype(0));
}

void tst_Drives::cleanPath_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("clean");

    QTest::newRow("root stays root") << QByteArray("/") << QByteArray("/");
    QTest::newRow("trailing separator dropped") << QByteArray("/usr/") << QByteArray("/usr");
    QTest::newRow("doubled separators") << QByteArray("//usr//lib") << QByteArray("/usr/lib");
    QTest::newRow("dot components") << QByteArray("/usr/./lib/.") << QByteArray("/usr/lib");
    QTest::newRow("dot-dot components")
        << QByteArray("/usr/lib/../share") << QByteArray("/usr/share");
    QTest::newRow("dot-dot above the root") << QByteArray("/../..") << QByteArray("/");
    QTest::newRow("invalid UTF-8 kept as bytes")
        << QByteArray("/tmp/\xff") << QByteArray("/tmp/\xff");
}

void tst_Drives::cleanPath()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, clean);
    QCOMPARE(cleanFolderPath(path), clean);
}

void tst_Drives::nearestExisting()
{
    test::ScratchFolder dir;
    QVERIFY(dir.isValid());
    const QString root = dir.text();
    QVERIFY(QDir(root).mkpath(u"a/b"_s));
    QFile file(root + u"/a/file"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QCOMPARE(nearestExistingFolder(root + u"/a/b"_s), root + u"/a/b"_s);
    QCOMPARE(nearestExistingFolder(root + u"/a/b/gone/deeper"_s), root + u"/a/b"_s);
    QCOMPARE(nearestExistingFolder(root + u"/a/file"_s), root + u"/a"_s);
    QCOMPARE(nearestExistingFolder(root + u"/a/b/"_s), root + u"/a/b"_s);
    QCOMPARE(nearestExistingFolder(QString()), QDir::homePath());
    QCOMPARE(nearestExistingFolderPath(QFile::encodeName(root) + "/\xff/x"),
             QFile::encodeName(root));

    const QByteArray odd = QFile::encodeName(root) + "/\xfe";
    QVERIFY(::mkdir(odd.constData(), 0755) == 0);
    QCOMPARE(nearestExistingFolderPath(odd + "/missing"), odd);
}

QTEST_APPLESS_MAIN(tst_Drives)
#include "tst_drives.moc"
