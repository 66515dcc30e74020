#include "platform/settingsstore.h"

#include <QSettings>
#include <QStringList>

namespace qm {

IniSettingsStore::IniSettingsStore() = default;

// Each QSettings writes its pending changes when it is destroyed.
IniSettingsStore::~IniSettingsStore() = default;

QSettings &IniSettingsStore::settingsFor(const QString &application) const
{
    auto &settings = m_settings[application];
    if (!settings)
        settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                               application, application);
    return *settings;
}

QString IniSettingsStore::read(const QString &application, const QString &section,
                               const QString &key, const QString &defaultValue) const
{
    QSettings &settings = settingsFor(application);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    settings.endGroup();
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value with unquoted commas comes back as a list; keep its text whole.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void IniSettingsStore::write(const QString &application, const QString &section, const QString &key,
                             const QString &value)
{
    QSettings &settings = settingsFor(application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
}

bool IniSettingsStore::sync()
{
    bool ok = true;
    for (auto &[application, settings] : m_settings) {
        settings->sync();
        ok = ok && settings->status() == QSettings::NoError;
    }
    return ok;
}

QString IniSettingsStore::fileName(const QString &application)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, application, application)
        .fileName();
}

QString MemorySettingsStore::address(const QString &application, const QString &section,
                                     const QString &key)
{
    // A separator that no name contains keeps the three levels apart.
    return application + QChar(0) + section + QChar(0) + key;
}

QString MemorySettingsStore::read(const QString &application, const QString &section,
                                  const QString &key, const QString &defaultValue) const
{
    m_reads.append({ application, section, key, defaultValue });
    return m_values.value(address(application, section, key), defaultValue);
}

void MemorySettingsStore::write(const QString &application, const QString &section,
                                const QString &key, const QString &value)
{
    m_writes.append({ application, section, key, value });
    m_values.insert(address(application, section, key), value);
}

void MemorySettingsStore::set(const QString &application, const QString &section,
                              const QString &key, const QString &value)
{
    m_values.insert(address(application, section, key), value);
}

bool MemorySettingsStore::contains(const QString &application, const QString &section,
                                   const QString &key) const
{
    return m_values.contains(address(application, section, key));
}

void MemorySettingsStore::clearLog()
{
    m_reads.clear();
    m_writes.clear();
}

} // namespace qm
