#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Options that QApplication takes out of the command line itself; they must not be refused
// before it has seen them.
void allowToolkitOptions(QCommandLineParser &parser)
{
    const QStringList withValue {
        u"platform"_s,        u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,
        u"qwindowgeometry"_s, u"qwindowicon"_s,        u"qwindowtitle"_s,  u"session"_s,
        u"display"_s,         u"geometry"_s,           u"style"_s,         u"stylesheet"_s,
        u"qmljsdebugger"_s
    };
    const QStringList flags { u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"sync"_s };
    for (const QString &name : withValue) {
        QCommandLineOption option(name, QString(), u"value"_s);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : flags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString folderFrom(const QString &argument, const QString &workingFolder)
{
    if (argument.isEmpty())
        return {};
    QString path = argument;
    if (argument.startsWith(u"file:", Qt::CaseInsensitive)) {
        const QUrl url(argument);
        if (url.isLocalFile())
            path = url.toLocalFile();
    }
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

} // namespace

CommandLine readCommandLine(const QStringList &arguments, const QString &workingFolder,
                            const QString &helpPage)
{
    QCommandLineParser parser;
    // -platform and its kin are words after one dash, not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        u"Catalogues the files of one folder: their names, sizes and dates, to preview, "
        "print, save as text or copy."_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        u"folder"_s, u"The folder to show first (instead of the one used last)."_s, u"[folder]"_s);
    allowToolkitOptions(parser);

    CommandLine result;
    const bool understood = parser.parse(arguments);
    // Asking for help or the version answers even beside a mistake elsewhere.
    if (parser.isSet(help) || parser.isSet(u"help-all"_s)) {
        result.action = CommandLine::Action::Print;
        result.text = parser.helpText();
        result.text += helpPage.isEmpty()
            ? u"\nThe full help opens from Help, Help (F1) in the window.\n"_s
            : u"\nThe full help page: %1\n"_s.arg(QDir::toNativeSeparators(helpPage));
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::Print;
        result.text = u"%1 %2\n"_s.arg(QCoreApplication::applicationName(),
                                       QCoreApplication::applicationVersion());
        return result;
    }
    const auto fail = [&result](const QString &why) {
        result.action = CommandLine::Action::Fail;
        result.text = u"quillmark: %1\nTry 'quillmark --help'.\n"_s.arg(why);
        return result;
    };
    if (!understood)
        return fail(parser.errorText());
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return fail(u"one folder at a time, not %1."_s.arg(folders.size()));
    if (!folders.isEmpty())
        result.folder = folderFrom(folders.first(), workingFolder);
    return result;
}

} // namespace qm
