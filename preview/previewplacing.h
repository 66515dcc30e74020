#pragma once

#include <QtGlobal>

namespace qm {

class OutputTarget;
class PreviewViewport;

/// Left (or Top) of the picture inside the viewing window for a scroll bar \a value: minus
/// value × \a step, but never further than the picture's own \a extent. A step of 0 (no
/// preview drawn yet) keeps the picture at 0.
qint64 scrolledPosition(qint64 value, qint64 step, qint64 extent);

/// Writes the invitation to preview, centred in the viewing window, in blue bold in the
/// picture's current font; the picture's colour and bold setting are kept. The caller has
/// cleared the picture.
void emptyPicture(OutputTarget &picture, const PreviewViewport &viewport);

} // namespace qm
