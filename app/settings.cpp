#include "app/settings.h"

#include "platform/numbers.h"
#include "platform/settingsstore.h"

#include <cmath>
#include <limits>

namespace qm {

namespace {

const QString KeyFolder = QStringLiteral("Folder");
const QString KeyColour = QStringLiteral("Colour");
const QString KeyFont = QStringLiteral("Font");
const QString KeyBold = QStringLiteral("Bold");
const QString KeyItalic = QStringLiteral("Italic");
const QString KeySize = QStringLiteral("Size");
const QString KeyTopMargin = QStringLiteral("Top Margin");
const QString KeyBottomMargin = QStringLiteral("Bottom Margin");
const QString KeyLeftMargin = QStringLiteral("Left Margin");
const QString KeyRightMargin = QStringLiteral("Right Margin");
const QString KeyMeasurement = QStringLiteral("Measurement");
const QString KeyColumn0 = QStringLiteral("Column 0");
const QString KeyColumn1 = QStringLiteral("Column 1");
const QString KeyColumn2 = QStringLiteral("Column 2");

// Beyond this no page could show a single line; zero or less would give lines without height.
constexpr double LargestFontSize = 1000.0;

qint32 colourValue(const QString &text, qint32 defaultValue)
{
    const std::optional<double> number = numberText(text);
    if (!number)
        return defaultValue;
    const std::optional<qint64> whole = roundHalfEvenIn(*number, std::numeric_limits<qint32>::min(),
                                                        std::numeric_limits<qint32>::max());
    return whole ? static_cast<qint32>(*whole) : defaultValue;
}

bool flagValue(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = numberText(trimmed);
    return number && *number != 0;
}

double sizeValue(const QString &text, double defaultValue)
{
    const double size = leadingNumber(text);
    return size > 0 && size <= LargestFontSize ? size : defaultValue;
}

qint16 marginValue(const QString &text, qint16 defaultValue)
{
    const std::optional<qint64> whole
        = roundHalfEvenIn(leadingNumber(text), std::numeric_limits<qint16>::min(),
                          std::numeric_limits<qint16>::max());
    return whole ? static_cast<qint16>(*whole) : defaultValue;
}

float shareValue(const QString &text, float defaultValue)
{
    const double share = leadingNumber(text);
    // Checked before narrowing: a double beyond float's range has no float value.
    if (!std::isfinite(share) || std::fabs(share) > std::numeric_limits<float>::max())
        return defaultValue;
    return static_cast<float>(share);
}

QString flagText(bool on)
{
    return on ? QStringLiteral("-1") : QStringLiteral("0");
}

} // namespace

StoredSettings loadSettings(const SettingsStore &store, const QString &defaultFolder)
{
    const auto text = [&store](const QString &key, const QString &defaultValue) {
        return store.read(SettingsApplication, SettingsSection, key, defaultValue);
    };
    const StoredSettings defaults;
    const PrintSettings &printDefaults = defaults.print;
    StoredSettings settings;
    PrintSettings &print = settings.print;

    settings.folder = text(KeyFolder, defaultFolder);
    settings.colour = colourValue(text(KeyColour, QStringLiteral("0")), defaults.colour);
    settings.font.name = text(KeyFont, defaults.font.name);
    settings.font.bold = flagValue(text(KeyBold, QStringLiteral("False")));
    settings.font.italic = flagValue(text(KeyItalic, QStringLiteral("False")));
    settings.font.size = sizeValue(text(KeySize, QStringLiteral("10")), defaults.font.size);
    print.topMargin
        = marginValue(text(KeyTopMargin, QStringLiteral("1134")), printDefaults.topMargin);
    print.bottomMargin
        = marginValue(text(KeyBottomMargin, QStringLiteral("1134")), printDefaults.bottomMargin);
    print.leftMargin
        = marginValue(text(KeyLeftMargin, QStringLiteral("2268")), printDefaults.leftMargin);
    print.rightMargin
        = marginValue(text(KeyRightMargin, QStringLiteral("2268")), printDefaults.rightMargin);
    print.measurement = text(KeyMeasurement, printDefaults.measurement);
    print.column0 = shareValue(text(KeyColumn0, QStringLiteral("0.6")), printDefaults.column0);
    print.column1 = shareValue(text(KeyColumn1, QStringLiteral("0.15")), printDefaults.column1);
    print.column2 = shareValue(text(KeyColumn2, QStringLiteral("0.25")), printDefaults.column2);
    return settings;
}

void selectUnit(PrintSettings &settings)
{
    // Case matters. Any other text counts as centimetres so that no unit factor is ever 0
    // (margins are divided by it); the text itself is kept as it was stored.
    if (settings.measurement == QLatin1String("mm"))
        settings.unitFactor = static_cast<float>(TwipsPerMm);
    else if (settings.measurement == QLatin1String("in"))
        settings.unitFactor = static_cast<float>(TwipsPerInch);
    else
        settings.unitFactor = static_cast<float>(TwipsPerCm);
}

void saveSettings(SettingsStore &store, const StoredSettings &settings)
{
    const auto write = [&store](const QString &key, const QString &value) {
        store.write(SettingsApplication, SettingsSection, key, value);
    };
    const PrintSettings &print = settings.print;

    write(KeyFolder, settings.folder);
    write(KeyColour, QString::number(settings.colour));
    write(KeyFont, settings.font.name);
    write(KeyBold, flagText(settings.font.bold));
    write(KeyItalic, flagText(settings.font.italic));
    write(KeySize, signPositionText(settings.font.size));
    write(KeyTopMargin, signPositionText(double(print.topMargin)));
    write(KeyBottomMargin, signPositionText(double(print.bottomMargin)));
    write(KeyLeftMargin, signPositionText(double(print.leftMargin)));
    write(KeyRightMargin, signPositionText(double(print.rightMargin)));
    write(KeyMeasurement, print.measurement);
    write(KeyColumn0, signPositionText(print.column0));
    write(KeyColumn1, signPositionText(print.column1));
    write(KeyColumn2, signPositionText(print.column2));
}

} // namespace qm
