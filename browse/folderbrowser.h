#pragma once

#include "browse/filelistmodel.h"
#include "browse/folderlistmodel.h"
#include "platform/attributes.h"
#include "platform/filelisting.h"
#include "platform/wildcard.h"

#include <QByteArray>
#include <QString>

namespace qm {

/// \a path with "/" appended unless it already ends in one ("/" stays "/").
QString folderPrefix(const QString &path);

/// The folder list's rows for \a folderPath on the drive \a driveRoot: the drive root and
/// every folder down to \a folderPath (open, indented by their depth), then \a subFolders
/// one step deeper.
std::vector<FolderItem> folderItems(const QByteArray &driveRoot, const QByteArray &folderPath,
                                    std::vector<QByteArray> subFolders);

/// One folder's two lists as the window shows them: the files that pass \a pattern and
/// \a switches, and the sub-folders, both in list order. \a progress hears how far it got.
FolderListing filteredListing(const FolderHandle &folder, const PatternMatcher &pattern,
                              const AttributeSwitches &switches,
                              const ListingProgress &progress = {});

/// The byte total of \a files: the sizes read while listing, saturating instead of wrapping.
quint64 byteTotal(const std::vector<FileEntry> &files);

/// What the last refresh found.
struct RefreshResult
{
    qint64 fileCount = 0;
    quint64 byteTotal = 0; // saturates instead of wrapping
    int error = 0; // errno when the folder could not be read; 0 when it could
    bool fellBack = false; // the folder had gone and its nearest existing parent was listed
};

/// What the status panel says after \a result until the next refresh: why the list is empty
/// or shows another folder than the one asked for. Empty when the folder was read in full.
QString refreshProblemText(const RefreshResult &result);

/// The folder browser without its widgets: the current folder, the pattern and the attribute
/// switches, and the two lists they produce. Nothing is cached: every refresh reads the
/// folder afresh.
class FolderBrowser
{
public:
    FolderBrowser();

    /// Sets the folder shown by the next refresh (made absolute and clean).
    void setFolder(const QString &path);
    void setFolderPath(const QByteArray &nativePath);
    QString folder() const;
    QByteArray folderPath() const { return m_folderPath; }
    /// The drive (mount root) that holds the folder the last refresh listed.
    QString drive() const { return m_drive; }

    void setPattern(const QString &text);
    QString pattern() const { return m_patternText; }
    void setSwitches(const AttributeSwitches &switches) { m_switches = switches; }
    AttributeSwitches switches() const { return m_switches; }

    /// Lists the folder once, keeps the files that pass the pattern and the switches, sorts
    /// both lists, fills the two models and sums the sizes. A folder that has gone is
    /// replaced by its nearest existing parent first.
    RefreshResult refresh(const ListingProgress &progress = {});
    const RefreshResult &lastResult() const { return m_result; }

    FileListModel &files() { return m_files; }
    const FileListModel &files() const { return m_files; }
    FolderListModel &folders() { return m_folders; }
    const FolderListModel &folders() const { return m_folders; }

private:
    QByteArray m_folderPath;
    QString m_drive;
    QString m_patternText;
    PatternMatcher m_pattern;
    AttributeSwitches m_switches;
    RefreshResult m_result;
    FileListModel m_files;
    FolderListModel m_folders;
};

} // namespace qm
