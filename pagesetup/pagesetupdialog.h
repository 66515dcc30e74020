#pragma once

#include "pagesetup/pagesetupsession.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace qm {

class Questions;
struct CatalogueState;

/// The margin minimums of \a printer from its paper and paint rectangles; 0 when it is not
/// a usable printer.
MarginMinimums printerMarginMinimums(const QPrinter &printer);

/// The modal "Page Setup" dialog: margins, unit, column shares, catalogue font and colour,
/// edited in place in the run's state. A thin shell over PageSetupSession: it forwards Enter,
/// focus changes, the unit selector and the buttons, and shows what the session says.
/// exec() gives Accepted for OK and the title bar's close button, Rejected for Cancel.
class PageSetupDialog : public QDialog
{
    Q_OBJECT

public:
    PageSetupDialog(CatalogueState &state, Questions &questions, MarginMinimums minimums,
                    QWidget *parent = nullptr);
    ~PageSetupDialog() override;

    QLineEdit *field(PageSetupField field) const { return m_fields[std::size_t(field)]; }
    QComboBox *unitSelector() const { return m_units; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *fontButton() const { return m_font; }
    QPushButton *cancelButton() const { return m_cancel; }

    /// Closing from the title bar keeps the edits, as OK does.
    void reject() override;

signals:
    /// A font was chosen while a preview is shown: the preview is to be redrawn now.
    void previewRedrawRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void setTabChain();
    void filterEveryKey();
    void onUnitChosen(int index);
    void chooseFont();
    void keep();
    void cancel();
    void commitFocusedField();
    int fieldIndex(const QObject *object) const;

    PageSetupSession m_session;
    Questions &m_questions;
    std::array<QLineEdit *, PageSetupFieldCount> m_fields {};
    QComboBox *m_units = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_font = nullptr;
    QPushButton *m_cancel = nullptr;
    QLineEdit *m_clickedIn = nullptr; // focused by the press of a click that is not over yet
    bool m_closed = false;
};

} // namespace qm
