#include "platform/fontchooser.h"

#include "platform/colour.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm {

FontChooser::FontChooser(QWidget *parent)
    : QDialog(parent)
    , m_fonts(new QFontDialog(this))
    , m_colourButton(new QPushButton(tr("&Colour..."), this))
{
    setWindowTitle(tr("Font"));

    // The font dialog serves as a plain widget inside this one, which owns OK and Cancel.
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
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
