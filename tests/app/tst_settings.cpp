#include "app/settings.h"
#include "platform/settingsstore.h"
#include "support/memorysettingsstore.h"
#include "support/watchdog.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaultsThenIniRoundTrip();
    void loadedValue_data();
    void loadedValue();
    void specialFileLeftAlone_data();
    void specialFileLeftAlone();

private:
    QTemporaryDir m_configDir;
};

void tst_Settings::initTestCase()
{
    QVERIFY(m_configDir.isValid());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_configDir.path());
}

void tst_Settings::defaultsThenIniRoundTrip()
{
    const QString file = IniSettingsStore::fileName(SettingsApplication);
    QVERIFY(file.startsWith(m_configDir.path()));
    StoredSettings s = loadSettings(IniSettingsStore(), u"/home/someone"_s);
    QVERIFY(!QFileInfo::exists(file)); // reading alone writes nothing
    MemorySettingsStore defaults;
    s.folder = u"/tmp"_s;
    saveSettings(defaults, s);
    QCOMPARE(defaults.writtenLines().join(u'|'),
             u"Folder=/tmp|Colour=0|Font=Arial|Bold=0|Italic=0|Size= 10|Top Margin= 1134|"
             "Bottom Margin= 1134|Left Margin= 2268|Right Margin= 2268|Measurement=cm|"
             "Column 0= .6|Column 1= .15|Column 2= .25"_s);

    // Edited values through a real file: the next start loads and saves them unchanged.
    s.folder = u"/data/a, b; c=d \"q\""_s; // QSettings would make a list of "a, b"
    s.colour = 0x00FFFFFF; // the largest colour Page Setup can write
    s.font = { u"DejaVu Sans"_s, 9.75, false, true, false, false };
    s.print = { u"in"_s, 0.0f, 0, 100, 3000, 2999, 0.5f, 1.0f / 3.0f, 1.0f / 6.0f };
    MemorySettingsStore edited;
    saveSettings(edited, s);
    {
        IniSettingsStore writer;
        saveSettings(writer, s);
        QVERIFY(writer.commit().ok);
    }
    MemorySettingsStore again;
    saveSettings(again, loadSettings(IniSettingsStore(), {}));
    QCOMPARE(again.writtenLines(), edited.writtenLines());
}

void tst_Settings::loadedValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("saved");
    const QString top = u"Top Margin"_s, colour = u"Colour"_s, folder = u"Folder"_s;
    const QString home = u"/home/someone"_s;
    QTest::newRow("margin half goes down to even") << top << u" 1134.5"_s << u" 1134"_s;
    QTest::newRow("margin half goes up to even") << top << u" 1135.5"_s << u" 1136"_s;
    QTest::newRow("margin 3001 clamped to 3000") << top << u"3001"_s << u" 3000"_s;
    QTest::newRow("margin -5 clamped to 0") << top << u"-5"_s << u" 0"_s;
    QTest::newRow("colour beyond 32 bits falls back") << colour << u"4294967296"_s << u"0"_s;
    QTest::newRow("colour white, the largest kept") << colour << u"16777215"_s << u"16777215"_s;
    QTest::newRow("colour one above 24 bits") << colour << u"16777216"_s << u"0"_s;
    QTest::newRow("colour -1, every bit set") << colour << u"-1"_s << u"0"_s;
    QTest::newRow("colour system window background") << colour << u"-2147483643"_s << u"0"_s;
    QTest::newRow("colour half rounds into range") << colour << u"16777214.5"_s << u"16777214"_s;
    QTest::newRow("size share beyond single precision") << u"Column 1"_s << u"-1e24"_s << u" .15"_s;
    QTest::newRow("name share 1: the triple falls back") << u"Column 0"_s << u"1"_s << u" .6"_s;
    QTest::newRow("size below 1 falls back") << u"Size"_s << u".99"_s << u" 10"_s;
    QTest::newRow("size 1 is kept") << u"Size"_s << u"1"_s << u" 1"_s;
    QTest::newRow("size above 1000 falls back") << u"Size"_s << u"1000.5"_s << u" 10"_s;
    QTest::newRow("relative folder") << folder << u"docs/letters"_s << home;
    QTest::newRow("zero character inside") << folder << u"/tmp/a"_s + QChar(0) + u"b"_s << home;
}

void tst_Settings::loadedValue()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    MemorySettingsStore memory;
    memory.set(SettingsApplication, SettingsSection, key, text);
    saveSettings(memory, loadSettings(memory, u"/home/someone"_s));
    QTEST(memory.writtenLines().filter(key + u'=').value(0).mid(key.size() + 1), "saved");
}

void tst_Settings::specialFileLeftAlone_data()
{
    QTest::addColumn<QString>("place"); // of a FIFO, in the settings folder
    QTest::newRow("FIFO as the settings file") << u"Quillmark/Quillmark.ini"_s;
    QTest::newRow("FIFO as the file QSettings reads beside the folder") << u"Quillmark.ini"_s;
}

// Reading a FIFO waits for a writer that never comes: the program would not start.
void tst_Settings::specialFileLeftAlone()
{
    QFETCH(QString, place);
    const QString fifo = m_configDir.path() + u'/' + place;
    QVERIFY(QDir().mkpath(m_configDir.path() + u"/Quillmark"_s));
    QFile::remove(fifo); // the file an earlier test wrote
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto remove = qScopeGuard([&] { QFile::remove(fifo); });
    const test::Watchdog watchdog(QFile::encodeName(fifo));
    IniSettingsStore store;
    StoredSettings loaded = loadSettings(store, u"/home/someone"_s);
    QCOMPARE(loaded.folder, u"/home/someone"_s); // the defaults
    loaded.folder = u"/tmp"_s;
    saveSettings(store, loaded);
    QCOMPARE(settingsNotSavedText(store.commit()),
             u"Quillmark could not save its settings in\n"_s + fifo
                 + u"\n\nIt is a named pipe (FIFO), not a regular file."_s);
    QVERIFY(!watchdog.blocked());
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
