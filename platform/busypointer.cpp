#include "platform/busypointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace qm {

namespace {

class OverrideCursor final : public BusyIndicator
{
public:
    void setBusy(bool busy) override
    {
        if (busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    }
};

} // namespace

BusyIndicator &applicationPointer()
{
    static OverrideCursor pointer;
    return pointer;
}

} // namespace qm
