#include "app/settings.h"
#include "platform/settingsstore.h"

#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

// Every write as "Key=value"; one outside the program's own section shows as "?".
static QStringList written(const MemorySettingsStore &store)
{
    QStringList lines;
    for (const MemorySettingsStore::Access &w : store.writes())
        lines << (w.application == u"Quillmark" && w.section == u"StartUp" ? w.key : u"?"_s) + u'='
                + w.value;
    return lines;
}

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void savedTexts();
    void loadedValue_data();
    void loadedValue();
    void columnShares_data();
    void columnShares();
    void iniFile();

private:
    QTemporaryDir m_configDir;
};

void tst_Settings::initTestCase()
{
    QVERIFY(m_configDir.isValid());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_configDir.path());
}

void tst_Settings::savedTexts()
{
    MemorySettingsStore memory;
    StoredSettings s = loadSettings(memory, u"/home/someone"_s);
    QVERIFY(memory.writes().isEmpty());
    s.folder = u"/tmp"_s;
    saveSettings(memory, s);
    QCOMPARE(written(memory).join(u'|'),
             u"Folder=/tmp|Colour=0|Font=Arial|Bold=0|Italic=0|Size= 10|Top Margin= 1134|"
             "Bottom Margin= 1134|Left Margin= 2268|Right Margin= 2268|Measurement=cm|"
             "Column 0= .6|Column 1= .15|Column 2= .25"_s);

    // Edited values: what one run saves, the next loads and saves again unchanged.
    s.colour = -2147483647 - 1;
    s.font = { u"DejaVu Sans"_s, 9.75, false, true, false, false };
    s.print = { u"in"_s, 0.0f, 0, 100, 3000, 2999, 0.5f, 1.0f / 3.0f, 1.0f / 6.0f };
    MemorySettingsStore edited;
    saveSettings(edited, s);
    QVERIFY(written(edited).contains(u"Colour=-2147483648"_s));
    MemorySettingsStore again;
    saveSettings(again, loadSettings(edited, {}));
    QCOMPARE(written(again), written(edited));
}

void tst_Settings::loadedValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text"); // null: the key is missing
    QTest::addColumn<QString>("saved"); // for Measurement, with the unit factor after it
    const QString top = u"Top Margin"_s, bold = u"Bold"_s, colour = u"Colour"_s;
    const QString size = u"Size"_s, unit = u"Measurement"_s;
    QTest::newRow("margin half goes down to even") << top << u" 1134.5"_s << u" 1134"_s;
    QTest::newRow("margin half goes up to even") << top << u" 1135.5"_s << u" 1136"_s;
    QTest::newRow("margin leading number") << top << u"567 twips"_s << u" 567"_s;
    QTest::newRow("margin 3000.5 rounds to even, inside") << top << u"3000.5"_s << u" 3000"_s;
    QTest::newRow("margin 3001 clamped to 3000") << top << u"3001"_s << u" 3000"_s;
    QTest::newRow("margin beyond 16 bits clamped") << top << u"99999"_s << u" 3000"_s;
    QTest::newRow("margin -0.5 rounds to 0") << top << u"-0.5"_s << u" 0"_s;
    QTest::newRow("margin beyond 64 bits clamped") << top << u"-1e30"_s << u" 0"_s;
    QTest::newRow("bold True") << bold << u"True"_s << u"-1"_s;
    QTest::newRow("bold not a flag") << bold << u"yes please"_s << u"0"_s;
    QTest::newRow("system colour") << colour << u"-2147483643"_s << u"-2147483643"_s;
    QTest::newRow("colour with junk falls back") << colour << u"255abc"_s << u"0"_s;
    QTest::newRow("colour beyond 32 bits falls back") << colour << u"4294967296"_s << u"0"_s;
    QTest::newRow("size 1 is kept") << size << u"1"_s << u" 1"_s;
    QTest::newRow("size below 1 falls back") << size << u".99"_s << u" 10"_s;
    QTest::newRow("size absurdly large falls back") << size << u"1e9"_s << u" 10"_s;
    const QString folder = u"Folder"_s, home = u"/home/someone"_s;
    QTest::newRow("absolute folder kept") << folder << u"/data/a b"_s << u"/data/a b"_s;
    QTest::newRow("folder missing") << folder << QString() << home;
    QTest::newRow("relative folder") << folder << u"docs/letters"_s << home;
    QTest::newRow("home shorthand") << folder << u"~/docs"_s << home;
    QTest::newRow("drive letter folder") << folder << u"C:\\WINDOWS"_s << home;
    QTest::newRow("Qt resource path") << folder << u":/help"_s << home;
    QTest::newRow("zero character inside") << folder << u"/tmp/a"_s + QChar(0) + u"b"_s << home;
    QTest::newRow("unit case matters") << unit << u"MM"_s << u"MM 567"_s;
    QTest::newRow("unknown unit counts as cm") << unit << u"xyz"_s << u"xyz 567"_s;
}

void tst_Settings::loadedValue()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, saved);
    MemorySettingsStore memory;
    if (!text.isNull())
        memory.set(SettingsApplication, SettingsSection, key, text);
    StoredSettings s = loadSettings(memory, u"/home/someone"_s);
    s.print.unitFactor = 1440.0f; // a previous unit must not linger
    selectUnit(s.print);
    saveSettings(memory, s);
    QString value = written(memory).filter(key + u'=').value(0).mid(key.size() + 1);
    if (key == u"Measurement")
        value += u' ' + QString::number(s.print.unitFactor);
    QCOMPARE(value, saved);
}

void tst_Settings::columnShares_data()
{
    QTest::addColumn<QStringList>("stored"); // Column 0, 1, 2; a null text is a missing key
    QTest::addColumn<QStringList>("loaded");
    const QStringList defaults { u" .6"_s, u" .15"_s, u" .25"_s };
    const auto row = [](const char *tag, const QStringList &stored, const QStringList &loaded) {
        QTest::newRow(tag) << stored << loaded;
    };
    row("defaults as written", defaults, defaults);
    row("as Page Setup leaves a third", { u" .3333333"_s, u" .3333333"_s, u" .3333334"_s },
        { u" .3333333"_s, u" .3333333"_s, u" .3333334"_s });
    row("name share at its ceiling 0.7", { u" .7"_s, u" .15"_s, u" .15"_s },
        { u" .7"_s, u" .15"_s, u" .15"_s });
    row("date share a hair under 0.15, as single precision writes it",
        { u" .7"_s, u" .1500001"_s, u" .1499999"_s }, { u" .7"_s, u" .1500001"_s, u" .1499999"_s });
    row("name share 0.19", { u" .19"_s, u" .16"_s, u" .65"_s }, defaults);
    row("name share 0.71", { u" .71"_s, u" .14"_s, u" .15"_s }, defaults);
    row("date share 0.14", { u" .6"_s, u" .26"_s, u" .14"_s }, defaults);
    row("sum 1.01", { u" .6"_s, u" .16"_s, u" .25"_s }, defaults);
    row("missing key read as its default, balanced", { u" .5"_s, QString(), u" .35"_s },
        { u" .5"_s, u" .15"_s, u" .35"_s });
    row("missing key read as its default, unbalanced", { u" .5"_s, QString(), u" .25"_s },
        defaults);
    row("garbage", { u"wide"_s, u" .15"_s, u" .25"_s }, defaults);
    row("infinite", { u" .6"_s, u"1e999"_s, u" .25"_s }, defaults);
    row("beyond single precision", { u" .6"_s, u"-1e24"_s, u"1e300"_s }, defaults);
}

void tst_Settings::columnShares()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, loaded);
    MemorySettingsStore memory;
    for (int i = 0; i < 3; ++i) {
        if (!stored.at(i).isNull())
            memory.set(SettingsApplication, SettingsSection, u"Column %1"_s.arg(i), stored.at(i));
    }
    const StoredSettings s = loadSettings(memory, {});
    saveSettings(memory, s);
    const QStringList saved = written(memory).filter(u"Column "_s);
    QCOMPARE(saved,
             (QStringList { u"Column 0="_s + loaded.at(0), u"Column 1="_s + loaded.at(1),
                            u"Column 2="_s + loaded.at(2) }));
}

void tst_Settings::iniFile()
{
    const QString file = IniSettingsStore::fileName(SettingsApplication);
    QVERIFY(file.startsWith(m_configDir.path()));
    loadSettings(IniSettingsStore(), u"/home"_s);
    QVERIFY(!QFileInfo::exists(file)); // reading alone writes nothing
    StoredSettings s;
    s.folder = u"/data/a, b; c=d \"q\""_s; // QSettings would make a list of "a, b"
    IniSettingsStore writer;
    saveSettings(writer, s);
    QVERIFY(writer.commit().ok);
    const IniSettingsStore ini; // a fresh store, as at the next start
    QCOMPARE(ini.read(SettingsApplication, SettingsSection, u"Top Margin"_s, {}), u" 1134"_s);
    QCOMPARE(loadSettings(ini, {}).folder, s.folder);
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
