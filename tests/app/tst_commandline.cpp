#include "app/commandline.h"
#include "platform/helppage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readCommandLine_data();
    void readCommandLine();
    void helpNamesTheInstalledPage();
    void installedHelpPage_data();
    void installedHelpPage();
};

void tst_CommandLine::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    QCoreApplication::setApplicationName(u"Quillmark"_s);
    QCoreApplication::setApplicationVersion(u"1.0.0"_s);
}

void tst_CommandLine::readCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("textHas");

    // Arguments are split at '|'.
    const auto row = [](const char *tag, const QString &arguments, CommandLine::Action action,
                        const QString &folder, const QString &textHas) {
        QTest::newRow(tag) << (arguments.isEmpty() ? QStringList() : arguments.split(u'|'))
                           << int(action) << folder << textHas;
    };
    const auto run = CommandLine::Action::Run;
    const auto print = CommandLine::Action::Print;
    const auto fail = CommandLine::Action::Fail;
    row("nothing: the stored folder", {}, run, {}, {});
    row("absolute folder kept", u"/srv/music"_s, run, u"/srv/music"_s, {});
    row("relative folder taken from the working folder", u"photos/2026"_s, run,
        u"/home/ann/photos/2026"_s, {});
    row("dot-dot and trailing slash folded", u"../bob/./docs/"_s, run, u"/home/bob/docs"_s, {});
    row("file URL becomes its local path, escapes decoded", u"file:///srv/a%20b"_s, run,
        u"/srv/a b"_s, {});
    row("a name beginning with a dash after --", u"--|-odd"_s, run, u"/home/ann/-odd"_s, {});
    row("toolkit option's value is not the folder", u"-platform|offscreen|docs"_s, run,
        u"/home/ann/docs"_s, {});
    row("toolkit option with = and a flag", u"-style=fusion|-reverse"_s, run, {}, {});
    row("--version", u"--version"_s, print, {}, u"Quillmark 1.0.0\n"_s);
    row("--help lists the folder argument", u"--help"_s, print, {}, u"[folder]"_s);
    row("--help wins over a mistake beside it", u"--bogus|--help"_s, print, {}, u"Usage:"_s);
    row("unknown option refused", u"--bogus"_s, fail, {}, u"bogus"_s);
    row("letters after one dash are one word, not -h -v", u"-hv"_s, fail, {}, u"hv"_s);
    row("toolkit option without its value", u"-platform"_s, fail, {}, u"platform"_s);
    row("two folders refused", u"/a|/b"_s, fail, {}, u"one folder at a time"_s);
}

void tst_CommandLine::readCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, folder);
    QFETCH(QString, textHas);

    arguments.prepend(u"quillmark"_s);
    const CommandLine command = qm::readCommandLine(arguments, u"/home/ann"_s);
    QCOMPARE(int(command.action), action);
    QCOMPARE(command.folder, folder);
    if (textHas.isEmpty())
        QVERIFY2(command.text.isEmpty(), qPrintable(command.text));
    else
        QVERIFY2(command.text.contains(textHas), qPrintable(command.text));
    if (command.action != CommandLine::Action::Run)
        QVERIFY(command.text.endsWith(u'\n'));
}

void tst_CommandLine::helpNamesTheInstalledPage()
{
    const QStringList help { u"quillmark"_s, u"--help"_s };
    const CommandLine installed
        = qm::readCommandLine(help, u"/"_s, u"/opt/qm/share/quillmark/quillmark.html"_s);
    QVERIFY(installed.text.contains(u"/opt/qm/share/quillmark/quillmark.html"_s));
    const CommandLine bare = qm::readCommandLine(help, u"/"_s);
    QVERIFY(bare.text.contains(u"Help, Help (F1)"_s));
}

void tst_CommandLine::installedHelpPage_data()
{
    QTest::addColumn<QString>("pageAt");
    QTest::addColumn<bool>("pageIsFolder");
    QTest::addColumn<QString>("programIn");
    QTest::addColumn<bool>("found");

    const QString page = u"share/quillmark/quillmark.html"_s;
    QTest::newRow("installed beside bin") << page << false << u"bin"_s << true;
    QTest::newRow("no data folder") << QString() << false << u"bin"_s << false;
    QTest::newRow("page in another prefix") << page << false << u"other/bin"_s << false;
    QTest::newRow("a folder where the page belongs") << page << true << u"bin"_s << false;
}

void tst_CommandLine::installedHelpPage()
{
    QFETCH(QString, pageAt);
    QFETCH(bool, pageIsFolder);
    QFETCH(QString, programIn);
    QFETCH(bool, found);

    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(u"bin"_s) && root.mkpath(u"other/bin"_s));
    if (!pageAt.isEmpty()) {
        if (pageIsFolder) {
            QVERIFY(root.mkpath(pageAt));
        } else {
            QVERIFY(root.mkpath(u"share/quillmark"_s));
            QFile file(root.filePath(pageAt));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    const QString programFolder = programIn.isEmpty() ? QString() : root.filePath(programIn);
    const QString result = qm::installedHelpPage(programFolder);
    QCOMPARE(result, found ? root.filePath(pageAt) : QString());
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
