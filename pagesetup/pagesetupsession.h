#pragma once

#include "pagesetup/pagesetuprules.h"

#include <QString>

#include <array>
#include <functional>

namespace qm {

class Questions;
struct CatalogueState;

/// One opening of Page Setup, without a window: it edits the run's print settings, font and
/// colour in place, tells what each number field shows, and keeps the copy that Cancel puts
/// back. The dialog forwards its events here and shows what it is told to.
class PageSetupSession
{
public:
    using ShowHandler = std::function<void(PageSetupField, const QString &)>;

    /// Takes the copy that Cancel restores. \a minimums are those of the printer that
    /// printing uses.
    PageSetupSession(CatalogueState &state, MarginMinimums minimums);

    /// Called whenever a field is to show a new text.
    void setShowHandler(ShowHandler handler) { m_show = std::move(handler); }

    /// Opening: shows the shares, then chooses the unit that the selector shows for the
    /// current measurement (as a user's choice does, which raises SettingsChanged), then
    /// shows the margins.
    void open();
    /// The entry of the unit selector that stands for the current measurement; a text the
    /// selector does not offer shows its first entry.
    QString selectorUnit() const;
    /// A unit picked in the selector: the measurement, its factor, the margins shown anew.
    void chooseUnit(const QString &unit);
    /// Shows the four margins in the current unit; the twips stay as they are.
    void calculateMargins();
    /// Enter pressed in \a field, or the focus leaving it, with \a text in it. A text the
    /// field was last given and the user has not changed leaves every value as it is:
    /// passing through a field must not round its margin to the shown digits nor
    /// re-balance the columns.
    void commit(PageSetupField field, const QString &text);
    /// The Font button. True when a font was chosen and a preview is shown, which the
    /// caller then redraws at once.
    bool chooseFont(Questions &questions);
    /// Cancel: measurement, shares, margins and SettingsChanged as they were on opening.
    /// The unit factor, the font and the colour stay.
    void cancel();

    /// The text \a field was last given.
    QString shownText(PageSetupField field) const;

private:
    void show(PageSetupField field, const QString &text);
    void showShare(PageSetupField field);
    void commitMargin(PageSetupField field, const QString &text);
    void commitShare(PageSetupField field, const QString &text);

    CatalogueState &m_state;
    MarginMinimums m_minimums;
    // What Cancel brings back.
    const PrintSettings m_savedPrint;
    const bool m_savedSettingsChanged;
    std::array<QString, PageSetupFieldCount> m_shown;
    ShowHandler m_show;
};

} // namespace qm
