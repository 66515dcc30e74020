#pragma once

#include <QtCore/qnamespace.h>
#include <QtGlobal>

namespace qm {

/// The fixed viewing window of the preview and its two scroll bars, as the catalogue
/// geometry sees them. Lengths in twips; scroll values in steps.
class PreviewViewport
{
public:
    virtual ~PreviewViewport() = default;

    /// Outer size of the viewing window, frame included.
    virtual qint64 viewWidth() const = 0;
    virtual qint64 viewHeight() const = 0;
    /// Inner size: the part of the picture that can be seen at once.
    virtual qint64 viewScaleWidth() const = 0;
    virtual qint64 viewScaleHeight() const = 0;

    /// A scroll bar limits the value it accepts; scrollMaximum() reads back what it kept.
    virtual void setScrollMaximum(Qt::Orientation bar, qint64 maximum) = 0;
    virtual qint64 scrollMaximum(Qt::Orientation bar) const = 0;
    virtual void setScrollMinimum(Qt::Orientation bar, qint64 minimum) = 0;
    virtual void setScrollSteps(Qt::Orientation bar, qint64 pageStep, qint64 singleStep) = 0;
};

} // namespace qm
