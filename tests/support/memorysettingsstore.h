#pragma once

#include "platform/settingsstore.h"

#include <QList>
#include <QMap>
#include <QString>

namespace qm {

/// A store in memory that remembers every read and write in order, for tests.
class MemorySettingsStore : public SettingsStore
{
public:
    struct Access
    {
        QString application;
        QString section;
        QString key;
        QString value; // the text written, or the default offered to a read
        friend bool operator==(const Access &, const Access &) = default;
    };

    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override;

    /// Puts a value in place without logging it as a write.
    void set(const QString &application, const QString &section, const QString &key,
             const QString &value);
    bool contains(const QString &application, const QString &section, const QString &key) const;

    const QList<Access> &reads() const { return m_reads; }
    const QList<Access> &writes() const { return m_writes; }
    void clearLog();

private:
    static QString address(const QString &application, const QString &section, const QString &key);

    QMap<QString, QString> m_values;
    mutable QList<Access> m_reads;
    QList<Access> m_writes;
};

} // namespace qm
