#pragma once

namespace qm {

/// What shows that a command is busy: the application's hourglass pointer, or a recording
/// in tests.
class BusyIndicator
{
public:
    virtual ~BusyIndicator() = default;

    /// The hourglass on (true) or back to what it was (false). Calls nest.
    virtual void setBusy(bool busy) = 0;
};

/// The application's pointer: the hourglass over every window while any command is busy.
BusyIndicator &applicationPointer();

/// The hourglass for as long as it lives, however the scope is left.
class BusyPointer
{
public:
    explicit BusyPointer(BusyIndicator &indicator)
        : m_indicator(indicator)
    {
        m_indicator.setBusy(true);
    }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
    ~BusyPointer() { m_indicator.setBusy(false); }

private:
    BusyIndicator &m_indicator;
};

} // namespace qm
