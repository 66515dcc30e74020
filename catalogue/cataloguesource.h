#pragma once

#include "platform/fileentry.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace qm {

/// The file list as the catalogue outputs walk it: entries in list order, and each
/// file's size and time read afresh from the file system when its line is written.
class CatalogueSource
{
public:
    virtual ~CatalogueSource() = default;

    virtual qint64 count() const = 0;
    /// The entry's name in the one text form that every output shows.
    virtual QString displayName(qint64 index) const = 0;
    /// The entry's name as its exact bytes (a path below the folder when the list holds a
    /// whole tree), for the outputs that carry names for programs to read.
    virtual QByteArray name(qint64 index) const = 0;
    /// Size and time now, or nothing when the file vanished or cannot be read.
    virtual std::optional<FileStat> stat(qint64 index) const = 0;
    /// The folder path with the native separator appended unless it ends in one.
    virtual QString folderPrefix() const = 0;
    /// The folder path as the list shows it: a root keeps its separator, a sub-folder has none.
    virtual QString folderText() const = 0;
};

} // namespace qm
