#pragma once

#include "catalogue/outputtarget.h"
#include "catalogue/textmeasure.h"

class QPaintDevice;

namespace qm {

/// A target that sets text in the output font of its style and measures it on its own
/// device (the screen, a printer), in twips. The few fonts a run takes in turn (the
/// catalogue font, the bold one of a head or the invitation, the larger one of a page's
/// opening blanks) stay measured, so switching back and forth measures nothing twice.
class MeasuredTarget : public OutputTarget
{
public:
    double textWidth(const QString &text) const final;
    double textHeight(const QString &text) const final;

protected:
    /// \a device null measures on the screen; \a twipsPerDot converts its units.
    MeasuredTarget(const QPaintDevice *device, double twipsPerDot, const TextStyle &initial,
                   qint64 width = 0, qint64 height = 0);

    /// The measure of the current font, made on first use after a change of it.
    const TextMeasure &measure() const;
    double twipsPerDot() const { return m_twipsPerDot; }

    /// A target that overrides this calls it first.
    void changed(Change change) override;

private:
    double m_twipsPerDot;
    mutable TextMeasures m_measures;
    mutable const TextMeasure *m_measure = nullptr;
};

} // namespace qm
