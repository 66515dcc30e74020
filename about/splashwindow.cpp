#include "about/splashwindow.h"

#include "about/artwork.h"
#include "platform/twips.h"
#include "platform/uifonts.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

namespace qm {

namespace {
QLabel *textLine(QWidget *parent, const QString &text, const QRect &rect, const QFont &font,
                 const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(rect);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}
} // namespace

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);

    // The picture is shown unscaled at 96 dots per inch and grows with the dots per inch,
    // as the text lines over it do.
    const QSize size(twipsToPixels(4500), twipsToPixels(3405));
    m_picture = new QLabel(this);
    m_picture->setPixmap(splashPicture(size, devicePixelRatioF()));
    m_picture->setGeometry(QRect(QPoint(0, 0), size));
    setFixedSize(size);

    m_title = textLine(this, QStringLiteral("Quillmark"), twipsRect(0, 2520, 4455, 375),
                       designFont(QStringLiteral("MS Sans Serif"), 12, true), QColor(255, 0, 0));
    QFont noticeFont = designFont(QStringLiteral("MS Sans Serif"), 9.75, true);
    noticeFont.setItalic(true);
    m_notice = textLine(this, QStringLiteral("Your folders, catalogued"),
                        twipsRect(0, 2880, 4455, 375), noticeFont, QColor(0x40, 0x40, 0x40));

    m_timer.setSingleShot(true);
    m_timer.setInterval(LifetimeMs);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::close);
}

void SplashWindow::showAndPaint()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
    repaint();
    // Let the window system map and draw it before the main window starts loading; user
    // input waits, so no handler can run half-way through start-up.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_timer.start();
}

} // namespace qm
