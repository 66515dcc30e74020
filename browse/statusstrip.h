#pragma once

#include "browse/meter.h"

#include <QString>
#include <QWidget>

class QLabel;

namespace qm {

class MeterWidget;
struct RefreshResult;

/// The strip along the bottom of the lower window: the status panel, the progress meter and
/// the file count and byte total panels. It keeps itself docked to its parent's bottom edge.
class StatusStrip : public QWidget
{
    Q_OBJECT

public:
    explicit StatusStrip(QWidget *clientArea);

    /// The totals of a refresh; what it could not do stands in the status panel until the
    /// next one.
    void showRefresh(const RefreshResult &result);
    /// The one word of the status panel ("" empties it). While no word is shown, the panel
    /// says how the last long command ended, if that needs saying, or else what the last
    /// refresh could not do, if anything.
    void setStatusText(const QString &text);
    /// How the last long command ended ("Save stopped; nothing was written"), said until the
    /// next command or refresh.
    void setNote(const QString &note);
    QString note() const { return m_note; }
    /// `drawMeter` on the meter, shown at once.
    void drawMeter(int style, const QColor &bar, const QColor &back, int percent);

    QLabel *statusPanel() const { return m_statusPanel; }
    MeterWidget *meter() const { return m_meterPicture; }
    QLabel *fileCountPanel() const { return m_fileCountPanel; }
    QLabel *byteTotalPanel() const { return m_byteTotalPanel; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dock();
    void showStatus();

    Meter m_meterDrawing;
    QString m_statusWord;
    QString m_note;
    QString m_folderProblem;

    QLabel *m_statusPanel = nullptr;
    MeterWidget *m_meterPicture = nullptr;
    QLabel *m_fileCountPanel = nullptr;
    QLabel *m_byteTotalPanel = nullptr;
};

} // namespace qm
