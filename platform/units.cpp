#include "platform/units.h"

#include <array>

namespace qm {

namespace {

struct MeasurementUnit
{
    QStringView name;
    double twips;
};

constexpr std::array<MeasurementUnit, 3> Units { {
    { u"cm", TwipsPerCm },
    { u"mm", TwipsPerMm },
    { u"in", TwipsPerInch },
} };

} // namespace

QStringList measurementUnits()
{
    QStringList names;
    for (const MeasurementUnit &unit : Units)
        names << unit.name.toString();
    return names;
}

std::optional<float> unitFactorOf(QStringView unit)
{
    for (const MeasurementUnit &known : Units) {
        if (known.name == unit)
            return float(known.twips);
    }
    return std::nullopt;
}

double twipsPer(QPageSize::Unit unit)
{
    switch (unit) {
    case QPageSize::Millimeter:
        return TwipsPerTrueMm;
    case QPageSize::Point:
        return TwipsPerPoint;
    case QPageSize::Inch:
        return TwipsPerInch;
    case QPageSize::Pica:
        return 12 * TwipsPerPoint;
    case QPageSize::Didot:
        return 1.07 * TwipsPerPoint;
    case QPageSize::Cicero:
        return 12.84 * TwipsPerPoint;
    }
    return TwipsPerPoint;
}

} // namespace qm
