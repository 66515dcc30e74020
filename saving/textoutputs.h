#pragma once

#include "catalogue/cataloguestate.h"
#include "catalogue/runresult.h"
#include "platform/fileentry.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class QIODevice;

namespace qm {

class CatalogueSource;
class DateTimeFormatter;
class WriterHost;

/// The two comma-separated layouts of a catalogue line. The saved file has plain digits, one
/// blank after the name's comma and two before the time; the clipboard has grouped digits,
/// two blanks after the name's comma and three before the time.
enum class TextLayout { Saved, Clipboard };

/// Appends the line of one file, without its line end. A file that cannot be read now gets
/// an empty size and the empty date "  /  /  ".
void appendTextLine(QString &out, const QString &name, const std::optional<FileStat> &stat,
                    DateTimeFormatter &dates, TextLayout layout);

/// The first line of a saved catalogue, without its line end.
QString savedHeaderLine(const QString &folderText);

/// What Copy puts on the clipboard.
struct CopyResult
{
    QString text; // empty when stopped
    RunResult run;
};

/// The clipboard text of lines \a first to \a last of the list, each ended by CR LF. The
/// status word and the meter show progress as a save does, and \a host may stop it.
CopyResult clipboardText(const CatalogueSource &source, qint64 first, qint64 last,
                         WriterHost &host);

/// The forms of a catalogue file.
enum class SaveFormat {
    Text, ///< the saved file: "Catalog of folder …", then the saved layout, CR LF
    Lines, ///< the clipboard layout of every line, CR LF, as Copy after Select All
    Csv, ///< RFC 4180 in UTF-8: a header row, then name, size and ISO 8601 time, CR LF
    Json, ///< one array of {"name", "size", "modified"} objects in UTF-8
};

/// How a catalogue file is written.
struct SaveOptions
{
    SaveFormat format = SaveFormat::Text;
    QChar separator = u','; // between CSV cells
    bool byteOrderMark = false; // put before CSV, for spreadsheets that need one to see UTF-8
};

/// What became of a save: nothing is said on success.
struct SaveResult
{
    bool ok = false;
    QString error; // why the file could not be written; empty when the user stopped it
    RunResult run;
};

/// Writes the catalogue file \a fileName in the form \a options give: its head, then the
/// lines of the range that \a chooseRange gives once the file is open (clamped to the list).
/// The meter and the status word show progress; they and the pointer are put back however it
/// ends, and \a host may stop it, which leaves any earlier file as it was. The file replaces
/// an earlier one only when it has been written completely; a path that holds no regular file
/// (a folder, FIFO, socket or device) is refused untouched; a link to a file replaces that
/// file.
SaveResult saveCatalogue(const QString &fileName, const CatalogueSource &source, WriterHost &host,
                         const std::function<LineRange()> &chooseRange,
                         const SaveOptions &options = {});

/// The same written to \a device, which is open and stays open (standard output).
SaveResult writeCatalogue(QIODevice &device, const CatalogueSource &source, WriterHost &host,
                          const std::function<LineRange()> &chooseRange,
                          const SaveOptions &options = {});

} // namespace qm
