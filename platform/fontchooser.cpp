#include "platform/fontchooser.h"

#include "platform/colour.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace qm {

namespace {

// The standard font dialog as a panel of the chooser. What would end the standard dialog
// (Enter in a list of it accepts it, Escape rejects it) ends the chooser instead, so the
// panel is never hidden while Colour, OK and Cancel stay behind.
class FontPanel : public QFontDialog
{
public:
    explicit FontPanel(QDialog *chooser)
        : QFontDialog(chooser)
        , m_chooser(chooser)
    {
    }

    void done(int result) override { m_chooser->done(result); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        // Enter that no control of the panel took (in the size box or list, a check box)
        // accepts the chooser, as it does in the lists of faces and styles.
        const bool plain = event->modifiers() == Qt::NoModifier
            || (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
        if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
            m_chooser->accept();
            return;
        }
        QFontDialog::keyPressEvent(event);
    }

private:
    QDialog *m_chooser;
};

} // namespace

FontChooser::FontChooser(QWidget *parent)
    : QDialog(parent)
    , m_fonts(new FontPanel(this))
    , m_colourButton(new QPushButton(tr("&Colour..."), this))
{
    setWindowTitle(tr("Font"));

    // The font dialog serves as a plain widget inside this one, which owns OK and Cancel.
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter accepts the chooser wherever the focus is; Colour answers Space and its key.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    m_colourButton->setAutoDefault(false);
    connect(m_colourButton, &QPushButton::clicked, this, &FontChooser::pickColour);

    auto *lower = new QHBoxLayout;
    lower->addWidget(m_colourButton);
    lower->addStretch();
    lower->addWidget(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(lower);
    showColour();
}

QWidget *FontChooser::faceList() const
{
    // The standard dialog makes its lists in the order faces, styles, sizes.
    return m_fonts->findChildren<QListView *>(Qt::FindDirectChildrenOnly).value(0);
}

void FontChooser::setVisible(bool visible)
{
    if (visible && !isVisible() && parentWidget() && !testAttribute(Qt::WA_Moved)) {
        // Placed by the program: a window manager left to place it may put it in a corner.
        // Compact, so that it can stand centred over Page Setup, which sits high on the screen.
        const QSize least = minimumSizeHint();
        resize(QSize(least.width() * 5 / 3, least.height() * 7 / 6)
                   .boundedTo(sizeHint())
                   .expandedTo(least));
        const QRect over = parentWidget()->window()->frameGeometry();
        QPoint corner = over.center() - rect().center();
        if (const QScreen *screen = parentWidget()->screen()) {
            const QRect room = screen->availableGeometry();
            corner.setX(
                std::clamp(corner.x(), room.left(), std::max(room.left(), room.right() - width())));
            corner.setY(
                std::clamp(corner.y(), room.top(), std::max(room.top(), room.bottom() - height())));
        }
        move(corner);
    }
    QDialog::setVisible(visible);
    if (visible) {
        if (QWidget *faces = faceList())
            faces->setFocus(Qt::OtherFocusReason);
    }
}

void FontChooser::setChoice(const FontChoice &choice)
{
    // The dialog lists installed faces only: show the face that stands in for a missing
    // one, so that its styles (bold, italic) are found in the list.
    QFont font(QFontInfo(QFont(choice.name)).family());
    if (choice.size > 0)
        font.setPointSizeF(choice.size);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    font.setStrikeOut(choice.strikethru);
    m_fonts->setCurrentFont(font);
    m_storedName = choice.name;
    m_shownFamily = m_fonts->currentFont().family();
    m_colour = choice.colour;
    showColour();
}

FontChoice FontChooser::choice() const
{
    const QFont font = m_fonts->currentFont();
    FontChoice choice;
    choice.name = font.family() == m_shownFamily ? m_storedName : font.family();
    choice.size = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
    choice.bold = font.bold();
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikethru = font.strikeOut();
    choice.colour = m_colour;
    return choice;
}

void FontChooser::setColour(const QColor &colour)
{
    if (!colour.isValid())
        return;
    m_colour = bgrFromColour(colour);
    showColour();
}

void FontChooser::pickColour()
{
    const QColor picked = QColorDialog::getColor(colourFromBgr(m_colour), this, tr("Text Colour"));
    setColour(picked); // invalid when cancelled, which keeps the colour
}

void FontChooser::showColour()
{
    QPixmap swatch(16, 16);
    swatch.fill(colourFromBgr(m_colour));
    m_colourButton->setIcon(QIcon(swatch));
}

} // namespace qm
