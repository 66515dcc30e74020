#pragma once

#include "catalogue/cataloguestate.h"

#include <QString>
#include <QtGlobal>

namespace qm {

class OutputTarget;

/// The steps of the catalogue writer that happen only on paper. The writer calls them at
/// their places in the walk and keeps the line position itself; the printing command
/// supplies them. Lines are written from y = 0 of the printer's scale.
class PrintHooks
{
public:
    virtual ~PrintHooks() = default;

    /// The lines printed out of \a whole, the range of the whole file list. Asked before the
    /// geometry is measured: the page count depends on it.
    virtual LineRange printedRange(LineRange whole) const = 0;
    /// Before anything else is written: open the first page and settle the header.
    virtual void startPrintRun(OutputTarget &printer, const QString &folderPrefix) = 0;
    /// Header and page number at the top of page \a pageNumber, the current one.
    virtual void pageHead(OutputTarget &printer, qint64 pageNumber) = 0;
    /// After a line that reached the bottom of the print area: end the page, open page
    /// \a nextPageNumber with its head, and return the top of the line that comes next.
    virtual qint64 pageBreak(OutputTarget &printer, qint64 nextPageNumber) = 0;
};

} // namespace qm
