#pragma once

#include "catalogue/cataloguestate.h"

#include <QString>
#include <QtGlobal>

namespace qm {

class SettingsStore;

/// Everything the settings store remembers between runs.
struct StoredSettings
{
    QString folder;
    qint32 colour = 0; // &H00BBGGRR
    CatalogueFont font;
    PrintSettings print;
};

inline const QString SettingsApplication = QStringLiteral("Quillmark");
inline const QString SettingsSection = QStringLiteral("StartUp");

/// Reads the fourteen keys in their order; a missing or unusable value gives its default.
/// \a defaultFolder stands in for a missing "Folder".
StoredSettings loadSettings(const SettingsStore &store, const QString &defaultFolder);

/// Sets unitFactor from measurement; an unknown unit is treated as "cm".
void selectUnit(PrintSettings &settings);

/// Writes all fourteen keys in their order.
void saveSettings(SettingsStore &store, const StoredSettings &settings);

} // namespace qm
