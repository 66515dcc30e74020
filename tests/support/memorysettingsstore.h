#pragma once

#include "platform/settingsstore.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace qm {

/// A store in memory that remembers every write in order, for tests.
class MemorySettingsStore : public SettingsStore
{
public:
    struct Access
    {
        QString application;
        QString section;
        QString key;
        QString value;
    };

    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override
    {
        return m_values.value(address(application, section, key), defaultValue);
    }
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override
    {
        m_writes.append({ application, section, key, value });
        set(application, section, key, value);
    }
    /// Puts a value in place without logging it as a write.
    void set(const QString &application, const QString &section, const QString &key,
             const QString &value)
    {
        m_values.insert(address(application, section, key), value);
    }

    const QList<Access> &writes() const { return m_writes; }
    /// Every write as "Key=value", in order.
    QStringList writtenLines() const
    {
        QStringList lines;
        for (const Access &access : m_writes)
            lines << access.key + QLatin1Char('=') + access.value;
        return lines;
    }
    void clearLog() { m_writes.clear(); }

private:
    // A separator that no name contains keeps the three levels apart.
    static QString address(const QString &application, const QString &section, const QString &key)
    {
        return application + QChar(0) + section + QChar(0) + key;
    }

    QMap<QString, QString> m_values;
    QList<Access> m_writes;
};

} // namespace qm
