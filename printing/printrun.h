#pragma once

#include "catalogue/printhooks.h"

#include <QPoint>
#include <QString>

#include <optional>

namespace qm {

class Questions;
struct CatalogueState;

inline const QString HeaderBoxTitle = QStringLiteral("Quillmark Header");
inline const QString HeaderBoxPrompt = QStringLiteral(
    "Enter Catalogue List Header and press OK or press Cancel to return no header");
/// Where the header box stands, in twips from the screen's top-left corner.
inline constexpr QPoint HeaderBoxPlace { 2000, 2000 };
/// How far right of the left margin the page number text ends, on any paper that can print
/// it there.
inline constexpr int PageTextRight = 7830;

/// "Page " number " of " count, each number with a blank where a sign would stand:
/// "Page  2 of  10".
QString pageText(qint64 pageNumber, qint64 pageCount);

/// The printing steps of the catalogue writer: each page opened with a blank line set two
/// points larger than the catalogue font, the header asked for once per run, the header
/// and "Page n of m" above the top margin of every page, and the selected lines only when
/// the print run covers the selection.
class PrintRun final : public PrintHooks
{
public:
    /// \a questions asks for the header; without it the header is the one of the last run,
    /// or the folder. A header that was the last run's folder by default gives way to this
    /// run's folder.
    PrintRun(CatalogueState &state, Questions *questions);

    LineRange printedRange(LineRange whole) const override;
    void startPrintRun(OutputTarget &printer, const QString &folderPrefix) override;
    void pageHead(OutputTarget &printer, qint64 pageNumber) override;
    qint64 pageBreak(OutputTarget &printer, qint64 nextPageNumber) override;

private:
    struct PlacedHeader
    {
        bool placed = false;
        double end = 0; // the header ends here at the latest
        QString text;
        double left = 0;
    };

    void openPage(OutputTarget &printer);
    /// Where "Page n of m" ends: PageTextRight, or the right margin on paper too narrow for
    /// that (A5), and never beyond the printable area.
    double pageTextRight(const OutputTarget &printer) const;
    /// The header as it is printed when it must end at \a end at the latest.
    const PlacedHeader &placeHeader(OutputTarget &printer, double end);

    CatalogueState &m_state;
    Questions *m_questions;
    std::optional<double> m_headerWidth; // of the whole header, in bold
    PlacedHeader m_placed;
};

} // namespace qm
