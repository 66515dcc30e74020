#pragma once

#include <QString>

#include <optional>

namespace qm {

/// Why a file cannot be written at \a path, or nothing when it can: nothing is there yet, or a
/// regular file is (a symbolic link to one counts as that file). A folder, a FIFO, a socket or
/// a device is refused without being opened: opening a FIFO waits for a reader, and an output
/// written beside and renamed would put a plain file where the device was.
std::optional<QString> outputRefusal(const QString &path);

/// The one wording of an output that failed, with the reason for errno \a error: "The file
/// cannot be written: REASON." before anything was written, "The file could not be written
/// completely: REASON." after.
QString cannotWriteText(int error);
QString notCompletedText(int error);

/// Where an output for \a path really goes: a symbolic link is followed to the file it names
/// (even one that does not exist yet), so the link stays and its file is replaced.
QString outputTarget(const QString &path);

/// A new file that someone else writes by name (a PDF engine), created beside the file it is
/// to replace under a temporary name and renamed over it by commit() only: an earlier file
/// stays byte for byte as it was until then, and whatever does not reach commit() is removed.
/// The new file gets the earlier file's permissions, or the usual ones for a new file.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString &path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    /// Refuses what is not a regular file, then creates the temporary file.
    bool create();
    /// The temporary file's name, for the writer to open.
    QString temporaryName() const { return m_temporary; }
    /// Forces the written file to the disk, closes it and renames it over the earlier file.
    bool commit();
    /// Removes the temporary file; the earlier file stays.
    void discard();
    /// Why create() or commit() failed.
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &why);

    QString m_path;
    QString m_target;
    QString m_temporary;
    QString m_error;
    int m_fd = -1;
};

} // namespace qm
