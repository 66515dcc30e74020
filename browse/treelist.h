#pragma once

#include "catalogue/cataloguesource.h"
#include "platform/attributes.h"
#include "platform/filelisting.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace qm {

class PatternMatcher;

/// A folder below the top of a tree that could not be read, and why.
struct TreeProblem
{
    QByteArray folder; // its path below the top, file-system bytes
    QString text; // the same in the names' text form
    int error = 0; // errno
};

/// What listing a tree found.
struct TreeResult
{
    int error = 0; // errno when the top folder could not be read; then nothing is listed
    qint64 fileCount = 0;
    quint64 byteTotal = 0; // sizes read while listing, saturating instead of wrapping
};

/// The file lists of a folder and of every folder below it, as one list. Each folder gives
/// the files that its own file list would show, in that list's order, named by their path
/// below the top ("photos/2019/img_001.jpg"); a folder's files come before those of its
/// sub-folders, which follow in the folder list's order. Links to folders are not followed,
/// and a folder that leads back to one above it is not entered again. Memory grows with the
/// files listed, not with the folders walked. As in the file list, sizes and times are read
/// afresh when a line is written.
class TreeList final : public CatalogueSource
{
public:
    /// Told the path of each folder as the walk enters it ("" for the top).
    using Reading = std::function<void(const QString &folderText)>;
    /// Told each folder below the top that could not be read, as the walk meets it; the
    /// walk goes on with the next.
    using Problem = std::function<void(const TreeProblem &problem)>;

    /// Lists the tree under \a topPath (file-system bytes) afresh.
    TreeResult list(const QByteArray &topPath, const PatternMatcher &pattern,
                    const AttributeSwitches &switches, const Reading &reading = {},
                    const Problem &problem = {});

    qint64 count() const override { return qint64(m_entries.size()); }
    QString displayName(qint64 index) const override;
    QByteArray name(qint64 index) const override;
    std::optional<FileStat> stat(qint64 index) const override;
    QString folderPrefix() const override;
    QString folderText() const override;

private:
    struct Folder
    {
        QByteArray path; // below the top, without a separator at the end; empty for the top
        QString prefix; // its text form with "/" at the end; empty for the top
    };
    struct Entry
    {
        QByteArray name;
        quint32 folder; // index into m_folders
    };

    const FolderHandle &folderHandle(quint32 folder) const;

    QByteArray m_topPath;
    FolderHandle m_top;
    std::vector<Folder> m_folders; // only those that gave at least one file
    std::vector<Entry> m_entries;
    // The folder whose files were sized last: lines are written in order, so each folder is
    // opened once per output.
    mutable FolderHandle m_current;
    mutable quint32 m_currentFolder = 0;
    mutable bool m_currentOpen = false;
};

} // namespace qm
