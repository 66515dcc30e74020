#include "catalogue/measuredtarget.h"

namespace qm {

MeasuredTarget::MeasuredTarget(const QPaintDevice *device, double twipsPerDot,
                               const TextStyle &initial, qint64 width, qint64 height)
    : OutputTarget(initial, width, height)
    , m_twipsPerDot(twipsPerDot)
    , m_measures(device)
{
}

const TextMeasure &MeasuredTarget::measure() const
{
    if (!m_measure)
        m_measure = &m_measures.of(outputFont(textStyle().font));
    return *m_measure;
}

double MeasuredTarget::textWidth(const QString &text) const
{
    return measure().horizontalAdvance(text) * m_twipsPerDot;
}

double MeasuredTarget::textHeight(const QString &) const
{
    return measure().height() * m_twipsPerDot;
}

void MeasuredTarget::changed(Change change)
{
    if (isFontChange(change))
        m_measure = nullptr;
}

} // namespace qm
