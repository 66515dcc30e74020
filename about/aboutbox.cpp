#include "about/aboutbox.h"

#include "about/artwork.h"
#include "platform/twips.h"
#include "platform/uifonts.h"

#include <QLabel>
#include <QPushButton>

namespace qm {

namespace {
QLabel *centredLines(QWidget *parent, const QString &html, const QRect &rect)
{
    auto *label = new QLabel(html, parent);
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    return label;
}
} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About Quillmark"));
    setModal(true);
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    auto *picture = new QLabel(this);
    picture->setGeometry(twipsRect(0, -120, 2295, 2175));
    picture->setScaledContents(true);
    // Drawn at the frame's own size, so the label never has to stretch it.
    picture->setPixmap(aboutPicture(picture->size(), devicePixelRatioF()));

    centredLines(this,
                 QStringLiteral("<p style='font-size:14pt'><b>Quillmark</b></p>"
                                "<p>Version 1.0</p>"
                                "<p>A catalogue of the files in a folder, on screen, "
                                "on paper and as text.</p>"),
                 twipsRect(2520, 120, 2535, 2055));
    centredLines(this,
                 QStringLiteral("&copy; 2026 The Quillmark developers. Free to use and to share."),
                 twipsRect(120, 2160, 4935, 600));

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(twipsRect(2040, 2880, 1215, 375));
    m_ok->setDefault(true);
    m_ok->setFocus();
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(twipsToPixels(5160), twipsToPixels(3375));
    move(twipsToPixels(3135), twipsToPixels(2430));
}

} // namespace qm
