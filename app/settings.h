#pragma once

#include "catalogue/cataloguestate.h"

#include <QString>
#include <QtGlobal>

namespace qm {

class SettingsStore;
struct SettingsWriteResult;

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

/// Reads the fourteen keys in their order; a missing key gives its default. A damaged value
/// cannot hurt the run:
///
/// | key                  | damaged value                                | loads as          |
/// |----------------------|----------------------------------------------|-------------------|
/// | Folder               | not an absolute path ("C:\", "docs", "")     | \a defaultFolder  |
/// | Colour               | not a whole 32-bit number                    | 0                 |
/// | Colour               | a bit above the 24 colour bits (-1, above    | 0                 |
/// |                      | 16,777,215)                                  |                   |
/// | Size                 | below 1 or above 1000 points, no number      | 10                |
/// | the four margins     | no number, infinite                          | its default       |
/// | the four margins     | below 0 or above 3000 twips                  | 0 or 3000         |
/// | Column 0, 1, 2       | any one without a finite number, name share  | all three         |
/// |                      | outside 0.2..0.7, another below 0.15, or a   | defaults          |
/// |                      | sum away from 1 (more than 0.001)            |                   |
/// | Measurement          | not "cm", "mm" or "in"                       | kept; counts as cm|
///
/// A value that Page Setup could have written reads exactly as written.
StoredSettings loadSettings(const SettingsStore &store, const QString &defaultFolder);

/// Sets unitFactor from measurement; an unknown unit is treated as "cm".
void selectUnit(PrintSettings &settings);

/// Puts the stored page setup into \a state as a run starts with it: the font (underline and
/// strikeout off), its colour, and the page settings with their unit factor. The window and
/// the run without it print alike because both start here.
void applyPageSetup(CatalogueState &state, const StoredSettings &stored);

/// Writes all fourteen keys in their order.
void saveSettings(SettingsStore &store, const StoredSettings &settings);

/// The message shown when the settings could not be written at exit: the file and why.
QString settingsNotSavedText(const SettingsWriteResult &result);

} // namespace qm
