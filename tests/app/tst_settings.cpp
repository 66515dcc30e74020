#include "app/settings.h"
#include "platform/settingsstore.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;
using namespace Qt::StringLiterals;

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void emptyStoreGivesDefaults();
    void readsEveryKeyInOrder();
    void savedTextsAfterFolderChange();
    void savedTextsOfEditedValues();
    void marginRounding_data();
    void marginRounding();
    void flags_data();
    void flags();
    void colour_data();
    void colour();
    void size_data();
    void size();
    void shares_data();
    void shares();
    void unitFactor_data();
    void unitFactor();
    void saveLoadRoundTrip();
    void iniKeepsLeadingBlank();
    void iniReadWithoutWriteCreatesNoFile();
    void iniSettingsFromRealRun();

private:
    static void store(MemorySettingsStore &memory, const QString &key, const QString &value)
    {
        memory.set(SettingsApplication, SettingsSection, key, value);
    }

    QTemporaryDir m_configDir;
};

static const QStringList keysInOrder = {
    u"Folder"_s,      u"Colour"_s,     u"Font"_s,          u"Bold"_s,        u"Italic"_s,
    u"Size"_s,        u"Top Margin"_s, u"Bottom Margin"_s, u"Left Margin"_s, u"Right Margin"_s,
    u"Measurement"_s, u"Column 0"_s,   u"Column 1"_s,      u"Column 2"_s,
};

void tst_Settings::initTestCase()
{
    QVERIFY(m_configDir.isValid());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_configDir.path());
}

void tst_Settings::emptyStoreGivesDefaults()
{
    const MemorySettingsStore memory;
    StoredSettings s = loadSettings(memory, u"/home/someone"_s);
    QCOMPARE(s.folder, u"/home/someone"_s);
    QCOMPARE(s.colour, 0);
    QCOMPARE(s.font.name, u"Arial"_s);
    QCOMPARE(s.font.size, 10.0);
    QVERIFY(!s.font.bold);
    QVERIFY(!s.font.italic);
    QCOMPARE(s.print.topMargin, qint16(1134));
    QCOMPARE(s.print.bottomMargin, qint16(1134));
    QCOMPARE(s.print.leftMargin, qint16(2268));
    QCOMPARE(s.print.rightMargin, qint16(2268));
    QCOMPARE(s.print.measurement, u"cm"_s);
    QCOMPARE(s.print.column0, 0.6f);
    QCOMPARE(s.print.column1, 0.15f);
    QCOMPARE(s.print.column2, 0.25f);
    selectUnit(s.print);
    QCOMPARE(s.print.unitFactor, 567.0f);
    QVERIFY(memory.writes().isEmpty());
}

void tst_Settings::readsEveryKeyInOrder()
{
    const MemorySettingsStore memory;
    loadSettings(memory, u"/"_s);
    QStringList keys;
    for (const MemorySettingsStore::Access &read : memory.reads()) {
        QCOMPARE(read.application, u"Quillmark"_s);
        QCOMPARE(read.section, u"StartUp"_s);
        keys << read.key;
    }
    QCOMPARE(keys, keysInOrder);
}

void tst_Settings::savedTextsAfterFolderChange()
{
    MemorySettingsStore memory;
    StoredSettings s = loadSettings(memory, u"/home/someone"_s);
    s.folder = u"/tmp"_s;
    saveSettings(memory, s);

    const QStringList expected = {
        u"/tmp"_s,  u"0"_s,     u"Arial"_s, u"0"_s,  u"0"_s,   u" 10"_s,  u" 1134"_s,
        u" 1134"_s, u" 2268"_s, u" 2268"_s, u"cm"_s, u" .6"_s, u" .15"_s, u" .25"_s,
    };
    QCOMPARE(memory.writes().size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const MemorySettingsStore::Access &write = memory.writes().at(i);
        QCOMPARE(write.application, u"Quillmark"_s);
        QCOMPARE(write.section, u"StartUp"_s);
        QCOMPARE(write.key, keysInOrder.at(i));
        QCOMPARE(write.value, expected.at(i));
    }
}

void tst_Settings::savedTextsOfEditedValues()
{
    MemorySettingsStore memory;
    StoredSettings s;
    s.folder = u"/data/a, b"_s;
    s.colour = 0x00C0FFFF;
    s.font = { u"DejaVu Sans"_s, 9.75, true, true, false, false };
    s.print.topMargin = -15;
    s.print.measurement = u"in"_s;
    s.print.column0 = 0.5f;
    s.print.column1 = 1.0f / 3.0f;
    saveSettings(memory, s);

    QMap<QString, QString> written;
    for (const MemorySettingsStore::Access &write : memory.writes())
        written.insert(write.key, write.value);
    QCOMPARE(written.value(u"Folder"_s), u"/data/a, b"_s);
    QCOMPARE(written.value(u"Colour"_s), u"12648447"_s);
    QCOMPARE(written.value(u"Bold"_s), u"-1"_s);
    QCOMPARE(written.value(u"Italic"_s), u"-1"_s);
    QCOMPARE(written.value(u"Size"_s), u" 9.75"_s);
    QCOMPARE(written.value(u"Top Margin"_s), u"-15"_s);
    QCOMPARE(written.value(u"Measurement"_s), u"in"_s);
    QCOMPARE(written.value(u"Column 0"_s), u" .5"_s);
    QCOMPARE(written.value(u"Column 1"_s), u" .3333333"_s);

    s.colour = -2147483647 - 1;
    memory.clearLog();
    saveSettings(memory, s);
    QCOMPARE(memory.writes().at(1).value, u"-2147483648"_s);
}

void tst_Settings::marginRounding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint16>("margin");
    QTest::newRow("half goes down to even") << u" 1134.5"_s << qint16(1134);
    QTest::newRow("half goes up to even") << u" 1135.5"_s << qint16(1136);
    QTest::newRow("plain digits") << u"500"_s << qint16(500);
    QTest::newRow("negative kept") << u"-20"_s << qint16(-20);
    QTest::newRow("no number reads as zero") << u"abc"_s << qint16(0);
    QTest::newRow("16-bit top") << u"32767"_s << qint16(32767);
    QTest::newRow("16-bit bottom") << u"-32768"_s << qint16(-32768);
    QTest::newRow("beyond 16 bits falls back") << u"99999"_s << qint16(1134);
    QTest::newRow("rounding past 16 bits falls back") << u"32767.5"_s << qint16(1134);
    QTest::newRow("overflowing text falls back") << u"1e999"_s << qint16(1134);
}

void tst_Settings::marginRounding()
{
    QFETCH(QString, text);
    QFETCH(qint16, margin);
    MemorySettingsStore memory;
    store(memory, u"Top Margin"_s, text);
    QCOMPARE(loadSettings(memory, {}).print.topMargin, margin);
}

void tst_Settings::flags_data()
{
    QTest::addColumn<QString>("text"); // null: key missing
    QTest::addColumn<bool>("on");
    QTest::newRow("-1 as written") << u"-1"_s << true;
    QTest::newRow("True") << u"True"_s << true;
    QTest::newRow("true lower case") << u"true"_s << true;
    QTest::newRow("any non-zero number") << u"2"_s << true;
    QTest::newRow("0 as written") << u"0"_s << false;
    QTest::newRow("False") << u"False"_s << false;
    QTest::newRow("FALSE upper case") << u"FALSE"_s << false;
    QTest::newRow("missing key") << QString() << false;
    QTest::newRow("not a flag") << u"yes please"_s << false;
    QTest::newRow("empty text") << u""_s << false;
}

void tst_Settings::flags()
{
    QFETCH(QString, text);
    QFETCH(bool, on);
    MemorySettingsStore memory;
    if (!text.isNull()) {
        store(memory, u"Bold"_s, text);
        store(memory, u"Italic"_s, text);
    }
    const StoredSettings s = loadSettings(memory, {});
    QCOMPARE(s.font.bold, on);
    QCOMPARE(s.font.italic, on);
}

void tst_Settings::colour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("colour");
    QTest::newRow("red") << u"255"_s << qint32(255);
    QTest::newRow("negative system colour") << u"-2147483643"_s << qint32(0x80000005);
    QTest::newRow("decimal rounds half to even") << u"254.5"_s << qint32(254);
    QTest::newRow("not a number falls back") << u"abc"_s << qint32(0);
    QTest::newRow("trailing junk falls back") << u"255abc"_s << qint32(0);
    QTest::newRow("beyond 32 bits falls back") << u"4294967296"_s << qint32(0);
}

void tst_Settings::colour()
{
    QFETCH(QString, text);
    QFETCH(qint32, colour);
    MemorySettingsStore memory;
    store(memory, u"Colour"_s, text);
    QCOMPARE(loadSettings(memory, {}).colour, colour);
}

void tst_Settings::size_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size");
    QTest::newRow("as written") << u" 9.75"_s << 9.75;
    QTest::newRow("leading number") << u"12pt"_s << 12.0;
    QTest::newRow("no number falls back") << u"big"_s << 10.0;
    QTest::newRow("zero falls back") << u"0"_s << 10.0;
    QTest::newRow("negative falls back") << u"-8"_s << 10.0;
    QTest::newRow("absurdly large falls back") << u"1e9"_s << 10.0;
}

void tst_Settings::size()
{
    QFETCH(QString, text);
    QFETCH(double, size);
    MemorySettingsStore memory;
    store(memory, u"Size"_s, text);
    QCOMPARE(loadSettings(memory, {}).font.size, size);
}

void tst_Settings::shares_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("share");
    QTest::newRow("as written") << u" .15"_s << 0.15f;
    QTest::newRow("no number reads as zero") << u"x"_s << 0.0f;
    QTest::newRow("beyond float falls back") << u"1e300"_s << 0.15f;
}

void tst_Settings::shares()
{
    QFETCH(QString, text);
    QFETCH(float, share);
    MemorySettingsStore memory;
    store(memory, u"Column 1"_s, text);
    QCOMPARE(loadSettings(memory, {}).print.column1, share);
}

void tst_Settings::unitFactor_data()
{
    QTest::addColumn<QString>("measurement");
    QTest::addColumn<float>("factor");
    QTest::newRow("cm") << u"cm"_s << 567.0f;
    QTest::newRow("mm") << u"mm"_s << 56.7f;
    QTest::newRow("in") << u"in"_s << 1440.0f;
    QTest::newRow("case matters") << u"MM"_s << 567.0f;
    QTest::newRow("unknown text counts as cm") << u"xyz"_s << 567.0f;
    QTest::newRow("empty counts as cm") << u""_s << 567.0f;
}

void tst_Settings::unitFactor()
{
    QFETCH(QString, measurement);
    QFETCH(float, factor);
    MemorySettingsStore memory;
    store(memory, u"Measurement"_s, measurement);
    StoredSettings s = loadSettings(memory, {});
    s.print.unitFactor = 1440.0f; // a previous unit must not linger
    selectUnit(s.print);
    QCOMPARE(s.print.unitFactor, factor);
    QCOMPARE(s.print.measurement, measurement);
}

void tst_Settings::saveLoadRoundTrip()
{
    StoredSettings s;
    s.folder = u"/srv/files"_s;
    s.colour = 0x00336699;
    s.font = { u"Liberation Serif"_s, 11.5, false, true, false, false };
    s.print = { u"mm"_s, 0.0f, 100, -200, 3000, 32767, 0.7f, 0.1f, 0.2f };
    MemorySettingsStore memory;
    saveSettings(memory, s);
    const StoredSettings back = loadSettings(memory, {});
    QCOMPARE(back.folder, s.folder);
    QCOMPARE(back.colour, s.colour);
    QCOMPARE(back.font.name, s.font.name);
    QCOMPARE(back.font.size, s.font.size);
    QCOMPARE(back.font.italic, true);
    QCOMPARE(back.print.bottomMargin, qint16(-200));
    QCOMPARE(back.print.rightMargin, qint16(32767));
    QCOMPARE(back.print.measurement, u"mm"_s);
    QCOMPARE(back.print.column0, 0.7f);
    QCOMPARE(back.print.column1, 0.1f);
    QCOMPARE(back.print.column2, 0.2f);
}

void tst_Settings::iniKeepsLeadingBlank()
{
    const QString app = u"RoundTripLeadingBlank"_s;
    {
        IniSettingsStore ini;
        ini.write(app, u"StartUp"_s, u"Top Margin"_s, u" 1134"_s);
        ini.write(app, u"StartUp"_s, u"Folder"_s, u"/data/a, b; c=d \"q\""_s);
        QVERIFY(ini.sync());
    }
    const QString file = IniSettingsStore::fileName(app);
    QVERIFY(file.startsWith(m_configDir.path()));
    QVERIFY(QFileInfo::exists(file));

    const IniSettingsStore fresh;
    QCOMPARE(fresh.read(app, u"StartUp"_s, u"Top Margin"_s, u"x"_s), u" 1134"_s);
    QCOMPARE(fresh.read(app, u"StartUp"_s, u"Folder"_s, u"x"_s), u"/data/a, b; c=d \"q\""_s);
    QCOMPARE(fresh.read(app, u"StartUp"_s, u"Missing"_s, u"fallback"_s), u"fallback"_s);
    QCOMPARE(fresh.read(app, u"Elsewhere"_s, u"Top Margin"_s, u"fallback"_s), u"fallback"_s);
}

void tst_Settings::iniReadWithoutWriteCreatesNoFile()
{
    {
        const IniSettingsStore ini;
        const StoredSettings s = loadSettings(ini, u"/home"_s);
        QCOMPARE(s.print.topMargin, qint16(1134));
    }
    QVERIFY(!QFileInfo::exists(IniSettingsStore::fileName(SettingsApplication)));
}

void tst_Settings::iniSettingsFromRealRun()
{
    // A whole save through the INI file, read back by a second store as at the next start.
    StoredSettings s;
    s.folder = u"/home/someone/Documents"_s;
    {
        IniSettingsStore ini;
        saveSettings(ini, s);
    }
    QFile file(IniSettingsStore::fileName(SettingsApplication));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("[StartUp]"));

    const IniSettingsStore ini;
    QCOMPARE(ini.read(SettingsApplication, SettingsSection, u"Column 0"_s, {}), u" .6"_s);
    const StoredSettings back = loadSettings(ini, u"/"_s);
    QCOMPARE(back.folder, s.folder);
    QCOMPARE(back.print.leftMargin, qint16(2268));
    QCOMPARE(back.print.column1, 0.15f);
    QVERIFY(QFile::remove(file.fileName()));
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
