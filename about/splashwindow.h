#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace qm {

/// The start-up picture: borderless, exactly the picture's size, centred on the screen,
/// gone by itself after four seconds.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int LifetimeMs = 4000;

    explicit SplashWindow(QWidget *parent = nullptr);

    /// Shows the window and paints it completely before returning, then starts its timer.
    void showAndPaint();

    QLabel *titleLabel() const { return m_title; }
    QLabel *noticeLabel() const { return m_notice; }

private:
    QLabel *m_picture;
    QLabel *m_title;
    QLabel *m_notice;
    QTimer m_timer;
};

} // namespace qm
