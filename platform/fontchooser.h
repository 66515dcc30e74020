#pragma once

#include "platform/questions.h"

#include <QColor>
#include <QDialog>

class QFontDialog;
class QPushButton;

namespace qm {

/// The font chooser: the standard font widgets with their effects (underline, strikeout) plus
/// a text colour, which the standard font dialog lacks. It behaves as one dialog: Enter
/// anywhere in it accepts it, Escape cancels it, and it opens centred over its parent with
/// the focus in the list of faces.
class FontChooser : public QDialog
{
    Q_OBJECT

public:
    explicit FontChooser(QWidget *parent = nullptr);

    void setVisible(bool visible) override;

    void setChoice(const FontChoice &choice);
    /// The font and colour shown now. The face keeps the name it was set with until the
    /// user picks another one. The colour keeps its stored value (a system colour,
    /// say) until the user picks another.
    FontChoice choice() const;

    /// Sets the colour as if picked by the user.
    void setColour(const QColor &colour);

private:
    /// The list of faces, where the focus starts.
    QWidget *faceList() const;
    void pickColour();
    void showColour();

    QFontDialog *m_fonts;
    QPushButton *m_colourButton;
    qint32 m_colour = 0;
    // A stored face that this system lacks (settings moved from another machine) is shown
    // as its substitute but handed back under its own name unless the user picks another.
    QString m_storedName;
    QString m_shownFamily;
};

} // namespace qm
