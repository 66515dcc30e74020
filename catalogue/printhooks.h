#pragma once

#include <QString>
#include <QtGlobal>

namespace qm {

class OutputTarget;

/// The steps of the catalogue writer that happen only on paper. The writer calls them at
/// their places in the walk; the printing command supplies them.
class PrintHooks
{
public:
    virtual ~PrintHooks() = default;

    /// Before anything else is written: open the first page, settle the header, and narrow
    /// \a first and \a last (file list indices, the whole list on entry) to what is printed.
    virtual void startPrintRun(OutputTarget &printer, const QString &folderPrefix, qint64 &first,
                               qint64 &last)
        = 0;
    /// Header and page number at the top of the current page.
    virtual void pageHead(OutputTarget &printer) = 0;
    /// After a line that reached the bottom of the print area: the next page and its head.
    virtual void pageBreak(OutputTarget &printer) = 0;
};

/// Prints no page heads and keeps the whole range.
class NoPrintHooks final : public PrintHooks
{
public:
    void startPrintRun(OutputTarget &, const QString &, qint64 &, qint64 &) override { }
    void pageHead(OutputTarget &) override { }
    void pageBreak(OutputTarget &) override { }
};

} // namespace qm
