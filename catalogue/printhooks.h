#pragma once

#include "catalogue/cataloguestate.h"
#include "catalogue/outputtarget.h"

#include <QString>
#include <QtGlobal>

namespace qm {

/// The steps of the catalogue writer that happen only on paper. The writer calls them at
/// their places in the walk and keeps the line position itself; the printing command
/// supplies them. Lines are written from y = 0 of the printer's scale.
class PrintHooks
{
public:
    virtual ~PrintHooks() = default;

    /// Before anything else is written: open the first page, settle the header, and return
    /// what is printed out of \a whole, the range of the whole file list.
    virtual LineRange startPrintRun(OutputTarget &printer, const QString &folderPrefix,
                                    LineRange whole)
        = 0;
    /// Header and page number at the top of page \a pageNumber, the current one.
    virtual void pageHead(OutputTarget &printer, qint64 pageNumber) = 0;
    /// After a line that reached the bottom of the print area: end the page, open page
    /// \a nextPageNumber with its head, and return the top of the line that comes next.
    virtual qint64 pageBreak(OutputTarget &printer, qint64 nextPageNumber) = 0;
};

/// Plain pages: no heads, the whole range, each page's lines from the top.
class PlainPages final : public PrintHooks
{
public:
    LineRange startPrintRun(OutputTarget &, const QString &, LineRange whole) override
    {
        return whole;
    }
    void pageHead(OutputTarget &, qint64) override { }
    qint64 pageBreak(OutputTarget &printer, qint64) override
    {
        printer.newPage();
        return 0;
    }
};

} // namespace qm
