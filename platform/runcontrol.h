#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

namespace qm {

/// Keeps the window alive while a long command runs on its thread, and lets the user stop
/// it. Between its steps the command calls poll(): every few milliseconds the window then
/// repaints (the meter, the preview filling up) and takes in Escape, its own closing and
/// clicks on the Exit button, which ask the run to stop. Every other key, click or wheel
/// turn that arrives meanwhile is dropped, so no handler can start inside the running one;
/// timers and repaints go on. Modal questions asked during a run (the header box) run their
/// own event loop outside poll() and are answered as usual.
class RunControl : public QObject
{
    Q_OBJECT

public:
    /// How often poll() lets events in.
    static constexpr int IntervalMs = 25;

    /// \a window is the one whose closing stops a run; \a exitButton keeps taking clicks.
    RunControl(QObject *window, QObject *exitButton);

    /// One long command, from its start to its end. Runs nest: an inner one shares the outer
    /// one's stop.
    class Run
    {
    public:
        explicit Run(RunControl &control);
        Run(const Run &) = delete;
        Run &operator=(const Run &) = delete;
        ~Run();

    private:
        RunControl &m_control;
    };

    /// Between two steps of a run: true once the run is to stop.
    bool poll();
    /// Between two steps of work that takes no orders (a long listing): the window repaints,
    /// while keys and clicks wait until the work is over; a close is kept for then.
    void keepPainted();
    /// The window was closed during the last run: it closes once the run has ended.
    bool closeRequested() const { return m_close; }
    /// Forgets a close request that has been acted upon.
    void clearCloseRequest() { m_close = false; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Input { Taken, Deferred };
    void pump(Input input);

    QPointer<QObject> m_window;
    QPointer<QObject> m_exitButton;
    QElapsedTimer m_sincePump;
    int m_depth = 0;
    bool m_pumping = false;
    Input m_input = Input::Taken;
    bool m_stop = false;
    bool m_close = false;
};

} // namespace qm
