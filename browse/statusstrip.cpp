#include "browse/statusstrip.h"

#include "browse/folderbrowser.h"
#include "browse/meterwidget.h"
#include "platform/numbers.h"
#include "platform/twips.h"
#include "platform/uifonts.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr int StripHeight = 405; // twips

QFont partFont()
{
    return designFont(u"MS Sans Serif"_s, 8.25);
}

QLabel *makePanel(QWidget *parent, const QString &text, QFrame::Shape shape)
{
    auto *panel = new QLabel(text, parent);
    panel->setFont(partFont());
    panel->setFrameShape(shape);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
    return panel;
}

// A 64-bit total can be wider than its panel: a smaller face keeps every digit in sight
// rather than cutting the number off. The widest totals need about 4 points; the floor
// only ends the search.
constexpr double SmallestFittedPoints = 3.0;

void setFittedText(QLabel *panel, const QString &text)
{
    QFont font = partFont();
    const int room = panel->contentsRect().width() - 4;
    while (font.pointSizeF() > SmallestFittedPoints
           && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    panel->setFont(font);
    panel->setText(text);
}

} // namespace

StatusStrip::StatusStrip(QWidget *clientArea)
    : QWidget(clientArea)
{
    setObjectName(u"Picture4"_s);
    setGeometry(twipsRect(0, 5400, 7830, StripHeight));

    m_statusPanel = makePanel(this, QString(), QFrame::Panel);
    m_statusPanel->setObjectName(u"pnlStatus"_s);
    m_statusPanel->setGeometry(twipsRect(30, 30, 1155, 300));
    m_statusPanel->setAccessibleName(u"Status"_s);

    m_meterPicture = new MeterWidget(2685, 200, this);
    m_meterPicture->setObjectName(u"Meter"_s);
    m_meterPicture->setGeometry(twipsRect(1230, 105, 2685, 200));
    m_meterPicture->setAccessibleName(u"Progress"_s);

    QLabel *filesCaption = makePanel(this, u"Files"_s, QFrame::NoFrame);
    filesCaption->setObjectName(u"SSPanel3"_s);
    filesCaption->setGeometry(twipsRect(3975, 75, 390, 210));

    m_fileCountPanel = makePanel(this, QString(), QFrame::Panel);
    m_fileCountPanel->setObjectName(u"lblNumberofFiles"_s);
    m_fileCountPanel->setGeometry(twipsRect(4410, 45, 1125, 270));
    m_fileCountPanel->setAccessibleName(u"Number of files"_s);

    QLabel *bytesCaption = makePanel(this, u"Total Bytes"_s, QFrame::NoFrame);
    bytesCaption->setObjectName(u"SSPanel1"_s);
    bytesCaption->setGeometry(twipsRect(5535, 60, 930, 255));

    m_byteTotalPanel = makePanel(this, QString(), QFrame::Panel);
    m_byteTotalPanel->setObjectName(u"lblNumberofBytes"_s);
    m_byteTotalPanel->setGeometry(twipsRect(6450, 45, 1275, 270));
    m_byteTotalPanel->setAccessibleName(u"Total bytes"_s);

    dock();
    clientArea->installEventFilter(this);
}

void StatusStrip::dock()
{
    const QWidget *area = parentWidget();
    const int height = twipsToPixels(StripHeight);
    if (area->height() >= height)
        setGeometry(0, area->height() - height, area->width(), height);
}

bool StatusStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        dock();
    return QWidget::eventFilter(watched, event);
}

void StatusStrip::showRefresh(const RefreshResult &result)
{
    setFittedText(m_fileCountPanel, groupedNumber(result.fileCount));
    setFittedText(m_byteTotalPanel, groupedNumber(result.byteTotal));
    m_folderProblem = refreshProblemText(result);
    m_note.clear();
    showStatus();
}

void StatusStrip::setStatusText(const QString &text)
{
    m_statusWord = text;
    if (!text.isEmpty())
        m_note.clear(); // a new command is running
    showStatus();
    m_statusPanel->repaint();
}

void StatusStrip::setNote(const QString &note)
{
    m_note = note;
    showStatus();
    m_statusPanel->repaint();
}

void StatusStrip::showStatus()
{
    // A sentence needs more room than one word: the panel then spans the idle meter too.
    const QString sentence = m_note.isEmpty() ? m_folderProblem : m_note;
    if (m_statusWord.isEmpty() && !sentence.isEmpty()) {
        m_statusPanel->setGeometry(twipsRect(30, 30, 3885, 300));
        m_statusPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_statusPanel->setIndent(twipsToPixels(60));
        m_statusPanel->raise();
        setFittedText(m_statusPanel, sentence);
    } else {
        m_statusPanel->setGeometry(twipsRect(30, 30, 1155, 300));
        m_statusPanel->setAlignment(Qt::AlignCenter);
        m_statusPanel->setIndent(-1);
        m_statusPanel->setFont(partFont());
        m_statusPanel->setText(m_statusWord);
    }
}

void StatusStrip::drawMeter(int style, const QColor &bar, const QColor &back, int percent)
{
    m_meterDrawing.drawMeter(*m_meterPicture, style, bar, back, percent);
    // Long operations draw the meter without returning to the event loop in between.
    m_meterPicture->repaint();
}

} // namespace qm
