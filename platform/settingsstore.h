#pragma once

#include <QString>

#include <map>
#include <memory>

class QSettings;

namespace qm {

/// Whether written values reached their file, and if not, which file and why.
struct SettingsWriteResult
{
    bool ok = true;
    QString fileName;
    QString reason; // e.g. "Permission denied"
};

/// The per-user store of text values, addressed by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    /// Makes every write so far permanent now. Failing here leaves an earlier file intact.
    virtual SettingsWriteResult commit() { return {}; }

    /// The stored text, or \a defaultValue when the application, section or key is missing.
    virtual QString read(const QString &application, const QString &section, const QString &key,
                         const QString &defaultValue) const = 0;
    /// Replaces the stored text, creating application, section and key as needed.
    virtual void write(const QString &application, const QString &section, const QString &key,
                       const QString &value)
        = 0;
};

/// The store as a per-user INI file: organisation and application are both the application
/// argument (on Linux ~/.config/<application>/<application>.ini), the section is the group.
/// Nothing touches the disk until something is written. A settings file that is no regular
/// file reads as empty and is reported, not written, by commit().
class IniSettingsStore : public SettingsStore
{
public:
    IniSettingsStore();
    ~IniSettingsStore() override;

    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override;

    /// Writes pending changes to disk now; otherwise that happens when the store is destroyed.
    /// The first file that could not be written is named, with the reason.
    SettingsWriteResult commit() override;

    /// The file that holds \a application's values.
    static QString fileName(const QString &application);

private:
    /// Nothing when a file of \a application's is no regular file: it is neither read (a FIFO
    /// would hold the program there) nor written, and commit() says why.
    QSettings *settingsFor(const QString &application) const;

    struct Refusal
    {
        QString fileName;
        QString reason;
        bool written = false; // something was to be stored
    };

    mutable std::map<QString, std::unique_ptr<QSettings>> m_settings;
    mutable std::map<QString, Refusal> m_refused;
};

/// Why \a fileName cannot be written now, found by trying what writing it needs: its folder
/// (created where missing), the file itself, and room for \a size bytes beside it. Empty
/// when nothing stands in the way.
QString settingsWriteProblem(const QString &fileName, qint64 size);

} // namespace qm
