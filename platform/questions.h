#pragma once

#include <QPoint>
#include <QString>
#include <QtGlobal>

#include <optional>

class QPrinter;

namespace qm {

/// What the font chooser returns: the six font attributes and a colour (&H00BBGGRR).
struct FontChoice
{
    QString name;
    double size = 10;
    bool bold = false, italic = false, underline = false, strikethru = false;
    qint32 colour = 0;
    friend bool operator==(const FontChoice &, const FontChoice &) = default;
};

/// Every modal question the program asks goes through here, so that tests can answer them
/// without a display.
class Questions
{
public:
    virtual ~Questions() = default;

    /// Yes/No message box, Yes the default; true for Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
    /// Single-line input box placed at \a screenTwips; the text on OK, empty on Cancel.
    virtual QString askText(const QString &title, const QString &prompt, const QString &defaultText,
                            QPoint screenTwips)
        = 0;
    /// File-save dialog offering \a suggested, with the file types of \a filter (";;" between
    /// them, the first chosen); nullopt on Cancel. \a chosenFilter, when given, receives the
    /// type chosen.
    virtual std::optional<QString> askSaveFileName(const QString &title, const QString &filter,
                                                   const QString &suggested, QString *chosenFilter)
        = 0;
    /// Font chooser preset to \a initial; nullopt on Cancel.
    virtual std::optional<FontChoice> askFont(const FontChoice &initial) = 0;
    /// Print dialog for \a printer, which it configures. The selection range can be chosen only
    /// when \a selectionAvailable, and is then preselected; \a selectionChosen tells whether the
    /// user kept it. False on Cancel.
    virtual bool askPrint(QPrinter *printer, bool selectionAvailable, bool *selectionChosen) = 0;
    /// A message with an OK button.
    virtual void showMessage(const QString &title, const QString &text) = 0;
    /// The help page, at its contents.
    virtual void showHelp() = 0;
};

} // namespace qm
