#pragma once

#include "platform/questions.h"

#include <QPointer>

class QWidget;

namespace qm {

class HelpWindow;

/// The questions as the user sees them: message boxes, input box and the standard dialogs,
/// each modal over the parent window.
class QtQuestions : public Questions
{
public:
    explicit QtQuestions(QWidget *parent = nullptr);
    ~QtQuestions() override;

    /// The window the dialogs are modal over; it may be set once the main window exists.
    void setParentWindow(QWidget *parent);

    bool askYesNo(const QString &title, const QString &text) override;
    QString askText(const QString &title, const QString &prompt, const QString &defaultText,
                    QPoint screenTwips) override;
    std::optional<QString> askSaveFileName(const QString &title, const QString &filter,
                                           const QString &suggested,
                                           QString *chosenFilter) override;
    std::optional<FontChoice> askFont(const FontChoice &initial) override;
    bool askPrint(QPrinter *printer, bool selectionAvailable, bool *selectionChosen) override;
    void showMessage(const QString &title, const QString &text) override;
    void showHelp() override;

    /// Closes the help window if it is open; done when this object goes away too.
    void closeHelp();
    /// The open help window, or null.
    HelpWindow *helpWindow() const;

private:
    QPointer<QWidget> m_parent;
    QPointer<HelpWindow> m_help;
};

} // namespace qm
