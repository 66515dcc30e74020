#pragma once

#include "platform/fileentry.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

namespace qm {

/// The name as a program reading a CSV or JSON catalogue wants it: the exact name when its
/// bytes are valid UTF-8, else its text form \a displayName (with "\xHH" for the bad bytes).
QString dataName(const QByteArray &rawName, const QString &displayName);

/// The CSV header row, without its line end: "Name,Size,Modified" with \a separator.
QString csvHeader(QChar separator);

/// Appends one CSV cell. A text that a spreadsheet would run as a formula (starting with
/// "=", "+", "-", "@", a tab or a carriage return) gets "'" put before it; a cell holding the
/// separator, a quote, a carriage return or a line feed is quoted, its quotes doubled.
void appendCsvCell(QString &out, QStringView text, QChar separator);

/// Appends the CSV row of one file, without its line end: name, size in plain digits and
/// the time of the last change in ISO 8601 with its offset. A file that cannot be read now
/// gets two empty cells.
void appendCsvRow(QString &out, const QString &name, const std::optional<FileStat> &stat,
                  QChar separator);

/// Appends \a text as a JSON string, quotes included. Control characters, quotes,
/// backslashes and the two Unicode line separators are escaped; the rest stays as it is.
void appendJsonString(QString &out, QStringView text);

/// Appends the JSON object of one file: {"name":…,"size":…,"modified":…}, with "bytes"
/// holding the raw name in base64 when it is not valid UTF-8. A file that cannot be read now
/// has null size and time.
void appendJsonObject(QString &out, const QByteArray &rawName, const QString &displayName,
                      const std::optional<FileStat> &stat);

} // namespace qm
