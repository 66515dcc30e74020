#include "support/memorysettingsstore.h"

namespace qm {

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
