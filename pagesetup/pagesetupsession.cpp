#include "pagesetup/pagesetupsession.h"

#include "catalogue/cataloguestate.h"
#include "platform/numbers.h"
#include "platform/questions.h"

namespace qm {

namespace {

qint16 &marginOf(PrintSettings &print, PageSetupField field)
{
    switch (field) {
    case PageSetupField::Right:
        return print.rightMargin;
    case PageSetupField::Top:
        return print.topMargin;
    case PageSetupField::Bottom:
        return print.bottomMargin;
    default:
        return print.leftMargin;
    }
}

float &shareOf(PrintSettings &print, PageSetupField field)
{
    switch (field) {
    case PageSetupField::Size:
        return print.column1;
    case PageSetupField::DateTime:
        return print.column2;
    default:
        return print.column0;
    }
}

constexpr std::array MarginFields { PageSetupField::Left, PageSetupField::Right,
                                    PageSetupField::Top, PageSetupField::Bottom };
constexpr std::array ShareFields { PageSetupField::Name, PageSetupField::Size,
                                   PageSetupField::DateTime };

} // namespace

PageSetupSession::PageSetupSession(CatalogueState &state, MarginMinimums minimums)
    : m_state(state)
    , m_minimums(minimums)
    , m_savedPrint(state.printSettings)
    , m_savedSettingsChanged(state.settingsChanged)
{
}

void PageSetupSession::show(PageSetupField field, const QString &text)
{
    m_shown[std::size_t(field)] = text;
    if (m_show)
        m_show(field, text);
}

void PageSetupSession::showShare(PageSetupField field)
{
    show(field, shareText(shareOf(m_state.printSettings, field)));
}

QString PageSetupSession::shownText(PageSetupField field) const
{
    return m_shown[std::size_t(field)];
}

void PageSetupSession::open()
{
    for (const PageSetupField field : ShareFields)
        showShare(field);
    chooseUnit(selectorUnit());
    calculateMargins();
}

QString PageSetupSession::selectorUnit() const
{
    const QStringList units = measurementUnits();
    return units.contains(m_state.printSettings.measurement) ? m_state.printSettings.measurement
                                                             : units.first();
}

void PageSetupSession::chooseUnit(const QString &unit)
{
    PrintSettings &print = m_state.printSettings;
    print.measurement = unit;
    if (const std::optional<float> factor = unitFactorOf(unit))
        print.unitFactor = *factor;
    calculateMargins();
    m_state.settingsChanged = true;
}

void PageSetupSession::calculateMargins()
{
    for (const PageSetupField field : MarginFields)
        show(field,
             marginText(marginOf(m_state.printSettings, field), m_state.printSettings.unitFactor));
}

void PageSetupSession::commit(PageSetupField field, const QString &text)
{
    m_state.settingsChanged = true;
    if (text == shownText(field)) {
        show(field, text);
        return;
    }
    if (isMarginField(field))
        commitMargin(field, text);
    else
        commitShare(field, text);
}

void PageSetupSession::commitMargin(PageSetupField field, const QString &text)
{
    PrintSettings &print = m_state.printSettings;
    const bool horizontal = field == PageSetupField::Left || field == PageSetupField::Right;
    const double minimum = horizontal ? m_minimums.horizontal : m_minimums.vertical;
    qint16 &margin = marginOf(print, field);
    margin = committedMargin(leadingNumber(text), print.unitFactor, minimum);
    show(field, marginText(margin, print.unitFactor));
}

void PageSetupSession::commitShare(PageSetupField field, const QString &text)
{
    PrintSettings &print = m_state.printSettings;
    const ColumnShares before { print.column0, print.column1, print.column2 };
    const ColumnShares after = committedShare(before, field, leadingNumber(text) / 100);
    print.column0 = after.name;
    print.column1 = after.size;
    print.column2 = after.dateTime;
    showShare(field);
    if (field == PageSetupField::Name) {
        showShare(PageSetupField::Size);
        showShare(PageSetupField::DateTime);
    } else {
        showShare(field == PageSetupField::Size ? PageSetupField::DateTime : PageSetupField::Size);
    }
}

bool PageSetupSession::chooseFont(Questions &questions)
{
    const std::optional<FontChoice> choice
        = questions.askFont(fontChoiceOf(m_state.catalogueFont, m_state.catalogueColour));
    if (!choice)
        return false;
    applyFontChoice(*choice, m_state.catalogueFont, m_state.catalogueColour);
    m_state.settingsChanged = true;
    return m_state.previewReady;
}

void PageSetupSession::cancel()
{
    PrintSettings &print = m_state.printSettings;
    const float unitFactor = print.unitFactor;
    print = m_savedPrint;
    print.unitFactor = unitFactor;
    m_state.settingsChanged = m_savedSettingsChanged;
}

} // namespace qm
