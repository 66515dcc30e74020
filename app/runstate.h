#pragma once

#include "app/settings.h"
#include "catalogue/linemetrics.h"

#include <QString>

namespace qm {

/// Selected catalogue lines: 0-based file list indices, -1 when nothing is selected.
struct Selection
{
    qint64 selFirst = -1;
    qint64 selLast = -1;
    bool selectionMade = false;
    qint64 clickedLine = -1; // anchor of the last press
};

/// Everything a run of the program shares between its parts. Owned by the main window
/// and handed by reference to the parts that read or write it.
struct RunState
{
    PrintSettings printSettings;
    CatalogueFont catalogueFont;
    qint32 catalogueColour = 0; // &H00BBGGRR

    // Printer page size in twips. Wider than the old 16-bit fields: A2 paper would not fit.
    int pageWidth = 0;
    int pageHeight = 0;

    bool previewReady = false;
    bool settingsChanged = false;
    bool printMode = false;
    bool printSelection = false;

    Selection selection;
    LineMetrics metrics;

    QString listHeader;
    qint64 pageNumber = 0;
};

} // namespace qm
