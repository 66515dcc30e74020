#pragma once

#include "browse/folderbrowser.h"

#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QListView;
class QWidget;

namespace qm {

class CatalogueSource;
class RunControl;
class StatusStrip;

/// The lower part of the main window: folder, drive and file lists, the pattern box, the
/// five attribute boxes, and the status strip below them that shows each refresh's totals.
/// The controls are placed on the client area given; this object wires them to a
/// FolderBrowser. Their tab order is the window's to set: its chain runs through the
/// preview too.
class FolderBrowserView : public QObject
{
    Q_OBJECT

public:
    enum AttributeBox { NormalBox, HiddenBox, SystemBox, ReadOnlyBox, ArchiveBox };

    /// The ten patterns of the pattern box, in their order.
    static QStringList patterns();

    explicit FolderBrowserView(QWidget *clientArea);
    ~FolderBrowserView() override;

    /// Start-up: checks the five boxes, fills the pattern box and applies "*.*", selects
    /// the drive of \a storedFolder and then the folder itself (its nearest existing parent
    /// when it has gone, the default folder when it is empty). Each step refreshes.
    void start(const QString &storedFolder);

    /// Reads the boxes, re-lists the current folder and shows the totals, with the hourglass
    /// up meanwhile; then emits refreshed(). A listing that takes a while shows the status
    /// word "Reading" and the meter, and keeps the window painted. A folder that could not be
    /// read, or had gone, is said in the status strip until the next refresh.
    void refresh();
    /// What keeps the window painted during a long listing.
    void setRunControl(RunControl *control) { m_runControl = control; }

    /// Runs at once a refresh that typing in the pattern box still owes. Keys typed while a
    /// refresh runs are applied together by one refresh with the latest text, as soon as the
    /// window has taken them all in; a command that walks the file list calls this first.
    void settle();
    bool refreshOwed() const { return m_refreshOwed; }

    QString currentFolder() const { return m_browser.folder(); }
    /// The file list, as the catalogue outputs walk it.
    const CatalogueSource &fileSource() const { return m_browser.files(); }
    FolderBrowser &browser() { return m_browser; }

    QListView *folderList() const { return m_folderList; }
    QComboBox *driveList() const { return m_driveList; }
    QComboBox *patternBox() const { return m_patternBox; }
    QListView *fileList() const { return m_fileList; }
    QCheckBox *attributeBox(AttributeBox box) const { return m_attributeBoxes[size_t(box)]; }
    StatusStrip *statusStrip() const { return m_statusStrip; }

signals:
    /// After every refresh, once the lists and totals are current.
    void refreshed();

private:
    void createLists(QWidget *clientArea);
    void createAttributeBoxes(QWidget *clientArea);

    void onPatternEdited(const QString &text);
    void onAttributeBoxChanged(QCheckBox *box);
    void onDriveChosen(const QString &root);
    void onFolderActivated(int row);
    void goToFolder(const QByteArray &nativePath);
    void showCurrentDrive();
    void showCurrentFolder();

    FolderBrowser m_browser;
    bool m_refreshOwed = false;
    RunControl *m_runControl = nullptr;

    QListView *m_folderList = nullptr;
    QComboBox *m_driveList = nullptr;
    QComboBox *m_patternBox = nullptr;
    QListView *m_fileList = nullptr;
    std::array<QCheckBox *, 5> m_attributeBoxes {};
    StatusStrip *m_statusStrip = nullptr;
};

} // namespace qm
