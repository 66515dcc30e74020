#include "app/commandline.h"

#include <QCoreApplication>
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
};

void tst_CommandLine::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    QCoreApplication::setApplicationName(u"Quillmark"_s);
    QCoreApplication::setApplicationVersion(u"1.0.0"_s);
}

void tst_CommandLine::readCommandLine_data()
{
    QTest::addColumn<QString>("arguments"); // split at '|'
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("textHas");
    const int run = int(CommandLine::Action::Run), print = int(CommandLine::Action::Print);
    const int fail = int(CommandLine::Action::Fail);
    QTest::newRow("nothing: the stored folder") << QString() << run << QString() << QString();
    QTest::newRow("relative folder, dot-dot folded")
        << u"../bob/./docs/"_s << run << u"/home/bob/docs"_s << QString();
    QTest::newRow("toolkit option's value is not the folder")
        << u"-platform|offscreen|docs"_s << run << u"/home/ann/docs"_s << QString();
    QTest::newRow("--version") << u"--version"_s << print << QString() << u"Quillmark 1.0.0\n"_s;
    QTest::newRow("--help wins over a mistake beside it")
        << u"--bogus|--help"_s << print << QString() << u"[folder]"_s;
    QTest::newRow("two folders refused")
        << u"/a|/b"_s << fail << QString() << u"one folder at a time"_s;
}

void tst_CommandLine::readCommandLine()
{
    QFETCH(QString, arguments);
    QFETCH(QString, textHas);
    QStringList list { u"quillmark"_s };
    if (!arguments.isEmpty())
        list += arguments.split(u'|');
    const CommandLine command = qm::readCommandLine(list, u"/home/ann"_s);
    QTEST(int(command.action), "action");
    QTEST(command.folder, "folder");
    if (textHas.isEmpty())
        QVERIFY2(command.text.isEmpty(), qPrintable(command.text));
    else
        QVERIFY2(command.text.contains(textHas) && command.text.endsWith(u'\n'),
                 qPrintable(command.text));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
