#pragma once

#include "browse/folderbrowser.h"
#include "browse/meter.h"

#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QListView;
class QWidget;

namespace qm {

class CatalogueSource;
class MeterWidget;

/// The lower part of the main window: folder, drive and file lists, the pattern box, the
/// five attribute boxes and the status strip with its status word, meter and totals. The
/// controls are placed on the client area given; this object wires them to a FolderBrowser.
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
    /// up meanwhile; then emits refreshed(). A folder that could not be read, or had gone,
    /// is said in the status panel until the next refresh.
    void refresh();

    /// Runs at once a refresh that typing in the pattern box still owes. Keys typed while a
    /// refresh runs are applied together by one refresh with the latest text, as soon as the
    /// window has taken them all in; a command that walks the file list calls this first.
    void settle();
    bool refreshOwed() const { return m_refreshOwed; }

    QString currentFolder() const { return m_browser.folder(); }
    /// The file list, as the catalogue outputs walk it.
    const CatalogueSource &fileSource() const { return m_browser.files(); }
    FolderBrowser &browser() { return m_browser; }

    /// The one word of the status panel ("" empties it). While no word is shown, the panel
    /// says what the last refresh could not do, if anything.
    void setStatusText(const QString &text);
    /// `drawMeter` on the status strip's meter.
    void drawMeter(int style, const QColor &bar, const QColor &back, int percent);

    QListView *folderList() const { return m_folderList; }
    QComboBox *driveList() const { return m_driveList; }
    QComboBox *patternBox() const { return m_patternBox; }
    QListView *fileList() const { return m_fileList; }
    QCheckBox *attributeBox(AttributeBox box) const { return m_boxes[size_t(box)]; }
    QWidget *statusStrip() const { return m_statusStrip; }
    QLabel *statusPanel() const { return m_statusPanel; }
    MeterWidget *meter() const { return m_meterWidget; }
    QLabel *fileCountPanel() const { return m_fileCount; }
    QLabel *byteTotalPanel() const { return m_byteTotal; }

signals:
    /// After every refresh, once the lists and totals are current.
    void refreshed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createLists(QWidget *clientArea);
    void createAttributeBoxes(QWidget *clientArea);
    void createStatusStrip(QWidget *clientArea);
    void dockStatusStrip();

    void onPatternEdited(const QString &text);
    void onAttributeBoxChanged(QCheckBox *box);
    void onDriveChosen(const QString &root);
    void onFolderActivated(int row);
    void goToFolder(const QByteArray &nativePath);
    void showCurrentDrive();
    void showCurrentFolder();
    void showStatus();

    FolderBrowser m_browser;
    Meter m_meter;
    QString m_statusWord;
    QString m_problem;
    bool m_refreshOwed = false;

    QWidget *m_clientArea = nullptr;
    QListView *m_folderList = nullptr;
    QComboBox *m_driveList = nullptr;
    QComboBox *m_patternBox = nullptr;
    QListView *m_fileList = nullptr;
    std::array<QCheckBox *, 5> m_boxes {};
    QWidget *m_statusStrip = nullptr;
    QLabel *m_statusPanel = nullptr;
    MeterWidget *m_meterWidget = nullptr;
    QLabel *m_fileCount = nullptr;
    QLabel *m_byteTotal = nullptr;
};

} // namespace qm
