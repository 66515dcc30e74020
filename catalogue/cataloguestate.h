#pragma once

#include "catalogue/linemetrics.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>

namespace qm {

/// The page settings held for the whole run.
struct PrintSettings
{
    QString measurement = QStringLiteral("cm");
    float unitFactor = 0.0f; // twips per current unit; set by selectUnit()
    qint16 topMargin = 1134;
    qint16 bottomMargin = 1134;
    qint16 leftMargin = 2268;
    qint16 rightMargin = 2268;
    float column0 = 0.6f;
    float column1 = 0.15f;
    float column2 = 0.25f;
};

/// The look of catalogue text on screen and paper.
struct CatalogueFont
{
    QString name = QStringLiteral("Arial");
    double size = 10.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;

    friend bool operator==(const CatalogueFont &, const CatalogueFont &) = default;
};

/// Selected catalogue lines: 0-based file list indices, -1 when nothing is selected.
struct Selection
{
    qint64 selFirst = -1;
    qint64 selLast = -1;
    bool selectionMade = false;
    qint64 clickedLine = -1; // anchor of the last press
};

/// File list indices of the first and the last line to write.
struct LineRange
{
    qint64 first = 0;
    qint64 last = -1;

    /// The part that lies in a list of \a count lines: a range from an old selection may
    /// reach past a list that has since become shorter.
    LineRange within(qint64 count) const
    {
        return { std::max<qint64>(first, 0), std::min(last, count - 1) };
    }
    qint64 size() const { return std::max<qint64>(last - first + 1, 0); }
};

/// What the catalogue outputs share for the whole run: the page and the font they draw
/// with, the flags that say what is drawn and where, the selection, and the geometry of
/// the last target drawn. The main window owns it; the catalogue parts get it by reference.
struct CatalogueState
{
    PrintSettings printSettings;
    CatalogueFont catalogueFont;
    qint32 catalogueColour = 0; // &H00BBGGRR

    // Printer page size in twips. Wider than the old 16-bit fields: A2 paper would not fit.
    int pageWidth = 0;
    int pageHeight = 0;

    bool settingsChanged = false; // the page, font or folder changed: written at shut-down
    bool previewReady = false;
    bool printSelection = false; // the print run covers the selection only

    Selection selection;
    LineMetrics metrics;

    QString listHeader; // printed on every page; kept from one print run to the next
    // The folder the last print run offered as its header: a header equal to it was not
    // typed, and a print of another folder offers that folder instead.
    QString listHeaderFolder;
    qint64 pageNumber = 0; // the page being printed, from 1
};

} // namespace qm
