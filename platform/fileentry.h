#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace qm {

/// File attributes as the filter switches see them.
enum FileAttribute : quint8 {
    AttrHidden = 0x1,
    AttrReadOnly = 0x2,
    AttrSystem = 0x4,
    AttrArchive = 0x8,
};

/// Size and last-change time of one file, 64-bit.
struct FileStat
{
    qint64 size = 0;
    qint64 modified = 0; // seconds since the epoch, UTC
};

/// One non-folder entry of a folder. The name is kept as its exact bytes.
struct FileEntry
{
    QByteArray name;
    FileStat stat;
    quint8 attributes = 0; // FileAttribute bits
    bool statOk = true; // false when the entry vanished or could not be read while listing
};

} // namespace qm
