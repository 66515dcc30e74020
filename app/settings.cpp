#include "app/settings.h"

#include "catalogue/pagelimits.h"
#include "platform/numbers.h"
#include "platform/settingsstore.h"
#include "platform/units.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace qm {

namespace {

// The fourteen keys in the order they are read and written.
enum class Key {
    Folder,
    Colour,
    Font,
    Bold,
    Italic,
    Size,
    TopMargin,
    BottomMargin,
    LeftMargin,
    RightMargin,
    Measurement,
    Column0,
    Column1,
    Column2,
};
constexpr size_t KeyCount = size_t(Key::Column2) + 1;

QString keyName(Key key)
{
    static const std::array<QString, KeyCount> names {
        QStringLiteral("Folder"),      QStringLiteral("Colour"),
        QStringLiteral("Font"),        QStringLiteral("Bold"),
        QStringLiteral("Italic"),      QStringLiteral("Size"),
        QStringLiteral("Top Margin"),  QStringLiteral("Bottom Margin"),
        QStringLiteral("Left Margin"), QStringLiteral("Right Margin"),
        QStringLiteral("Measurement"), QStringLiteral("Column 0"),
        QStringLiteral("Column 1"),    QStringLiteral("Column 2"),
    };
    return names[size_t(key)];
}

QString flagText(bool on)
{
    return on ? QStringLiteral("-1") : QStringLiteral("0");
}

// Every value in the text form it is stored in, in key order.
std::array<QString, KeyCount> storedTexts(const StoredSettings &settings)
{
    const PrintSettings &print = settings.print;
    return {
        settings.folder,
        QString::number(settings.colour),
        settings.font.name,
        flagText(settings.font.bold),
        flagText(settings.font.italic),
        signPositionText(settings.font.size),
        signPositionText(double(print.topMargin)),
        signPositionText(double(print.bottomMargin)),
        signPositionText(double(print.leftMargin)),
        signPositionText(double(print.rightMargin)),
        print.measurement,
        signPositionText(print.column0),
        signPositionText(print.column1),
        signPositionText(print.column2),
    };
}

// Below one point or beyond a thousand no page could show a useful line.
constexpr double SmallestFontSize = 1.0;
constexpr double LargestFontSize = 1000.0;

// A stored margin outside those Page Setup can produce is taken to the nearer end.
constexpr qint64 SmallestMargin = 0;

// The shares Page Setup can produce add up to 1. The slack covers single-precision sums
// written with seven digits.
constexpr double ShareSlack = 1e-4;
constexpr double ShareSumSlack = 1e-3;

// Page Setup stores a colour as its three colour bytes; a bit above them (-1 would be white
// on white paper, 0x800000xx a system colour) is not one it could have written.
constexpr qint64 LargestColour = 0x00FFFFFF;

qint32 colourValue(const QString &text, qint32 defaultValue)
{
    const std::optional<double> number = numberText(text);
    if (!number)
        return defaultValue;
    const std::optional<qint64> whole = roundHalfEvenIn(*number, std::numeric_limits<qint32>::min(),
                                                        std::numeric_limits<qint32>::max());
    if (!whole || *whole < 0 || *whole > LargestColour)
        return defaultValue;
    return static_cast<qint32>(*whole);
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
    return size >= SmallestFontSize && size <= LargestFontSize ? size : defaultValue;
}

qint16 marginValue(const QString &text, qint16 defaultValue)
{
    const std::optional<double> number = leadingNumberIfAny(text);
    if (!number || !std::isfinite(*number))
        return defaultValue;
    return static_cast<qint16>(
        std::clamp(roundHalfEven(*number), SmallestMargin, qint64(LargestMargin)));
}

/// The three shares as stored, or nothing when one of them is not a number.
std::optional<std::array<double, 3>> shareValues(const std::array<QString, 3> &texts)
{
    std::array<double, 3> shares {};
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::optional<double> number = leadingNumberIfAny(texts[i]);
        if (!number || !std::isfinite(*number))
            return std::nullopt;
        shares[i] = *number;
    }
    return shares;
}

bool sharesPageSetupCouldMake(const std::array<double, 3> &shares)
{
    const auto [name, size, date] = shares;
    return name >= SmallestNameShare - ShareSlack && name <= LargestNameShare + ShareSlack
        && size >= SmallestOtherShare - ShareSlack && date >= SmallestOtherShare - ShareSlack
        && std::fabs(name + size + date - 1.0) <= ShareSumSlack;
}

bool isAbsoluteFolder(const QString &text)
{
    // ":" starts Qt's own resource paths, which are no folder of the user's; no path on
    // disk holds a zero character.
    return QDir::isAbsolutePath(text) && !text.startsWith(u':') && !text.contains(QChar(0));
}

} // namespace

StoredSettings loadSettings(const SettingsStore &store, const QString &defaultFolder)
{
    // A missing key reads as its default's stored text: the defaults live in the structs
    // alone.
    StoredSettings defaults;
    defaults.folder = defaultFolder;
    const std::array<QString, KeyCount> defaultTexts = storedTexts(defaults);
    const PrintSettings &printDefaults = defaults.print;
    const auto text = [&](Key key) {
        return store.read(SettingsApplication, SettingsSection, keyName(key),
                          defaultTexts[size_t(key)]);
    };
    StoredSettings settings;
    PrintSettings &print = settings.print;

    settings.folder = text(Key::Folder);
    if (!isAbsoluteFolder(settings.folder))
        settings.folder = defaultFolder;
    settings.colour = colourValue(text(Key::Colour), defaults.colour);
    settings.font.name = text(Key::Font);
    settings.font.bold = flagValue(text(Key::Bold));
    settings.font.italic = flagValue(text(Key::Italic));
    settings.font.size = sizeValue(text(Key::Size), defaults.font.size);
    print.topMargin = marginValue(text(Key::TopMargin), printDefaults.topMargin);
    print.bottomMargin = marginValue(text(Key::BottomMargin), printDefaults.bottomMargin);
    print.leftMargin = marginValue(text(Key::LeftMargin), printDefaults.leftMargin);
    print.rightMargin = marginValue(text(Key::RightMargin), printDefaults.rightMargin);
    print.measurement = text(Key::Measurement);
    const std::optional<std::array<double, 3>> shares
        = shareValues({ text(Key::Column0), text(Key::Column1), text(Key::Column2) });
    // One bad share spoils the balance of all three: the defaults come back together.
    if (shares && sharesPageSetupCouldMake(*shares)) {
        print.column0 = static_cast<float>((*shares)[0]);
        print.column1 = static_cast<float>((*shares)[1]);
        print.column2 = static_cast<float>((*shares)[2]);
    }
    return settings;
}

void applyPageSetup(CatalogueState &state, const StoredSettings &stored)
{
    state.catalogueColour = stored.colour;
    state.catalogueFont = stored.font;
    state.catalogueFont.strikethru = false;
    state.catalogueFont.underline = false;
    state.printSettings = stored.print;
    selectUnit(state.printSettings);
}

void selectUnit(PrintSettings &settings)
{
    // Any other text counts as centimetres so that no unit factor is ever 0 (margins are
    // divided by it); the text itself is kept as it was stored.
    settings.unitFactor = unitFactorOf(settings.measurement).value_or(float(TwipsPerCm));
}

void saveSettings(SettingsStore &store, const StoredSettings &settings)
{
    const std::array<QString, KeyCount> texts = storedTexts(settings);
    for (size_t i = 0; i < KeyCount; ++i)
        store.write(SettingsApplication, SettingsSection, keyName(Key(i)), texts[i]);
}

QString settingsNotSavedText(const SettingsWriteResult &result)
{
    QString reason = result.reason;
    if (!reason.endsWith(u'.'))
        reason += u'.';
    return QStringLiteral("Quillmark could not save its settings in\n") + result.fileName
        + QStringLiteral("\n\n") + reason;
}

} // namespace qm
