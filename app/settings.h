#pragma once

#include <QString>
#include <QtGlobal>

namespace qm {

class SettingsStore;
struct SettingsWriteResult;

inline constexpr double TwipsPerCm = 567.0;
inline constexpr double TwipsPerMm = 56.7;
inline constexpr double TwipsPerInch = 1440.0;

/// The page settings held by the main window for the whole run.
struct PrintSettings
{
    QString measurement = QStringLiteral("cm");
    float unitFactor = 0.0f; // twips per current unit; set by selectUnit()
    qint16 topMargin = 1134;
    qint16 bottomMargin = 1134;
    qint16 leftMargin = 2268;
    qint16 rightMargin = 2268;
    float column0 = 0.6f;
    float column1 = 0.15f;
    float column2 = 0.25f;
};

/// The look of catalogue text on screen and paper.
struct CatalogueFont
{
    QString name = QStringLiteral("Arial");
    double size = 10.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
};

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

/// Writes all fourteen keys in their order.
void saveSettings(SettingsStore &store, const StoredSettings &settings);

/// The message shown when the settings could not be written at exit: the file and why.
QString settingsNotSavedText(const SettingsWriteResult &result);

} // namespace qm
