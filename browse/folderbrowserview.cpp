#include "browse/folderbrowserview.h"

#include "browse/statusstrip.h"
#include "catalogue/runguard.h"
#include "platform/busypointer.h"
#include "platform/drives.h"
#include "platform/filelisting.h"
#include "platform/runcontrol.h"
#include "platform/twips.h"
#include "platform/uifonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <optional>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

/// Indents each folder by its depth, so the list reads as the path from the drive down.
class FolderIndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + indent(option) * depth(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += indent(option) * depth(index);
        return size;
    }

private:
    static int depth(const QModelIndex &index)
    {
        return index.data(FolderListModel::DepthRole).toInt();
    }
    static int indent(const QStyleOptionViewItem &option)
    {
        return std::max(6, option.fontMetrics.height() * 3 / 4);
    }
};

/// The drive list reads the mounted file systems afresh each time it opens, so that a
/// medium inserted meanwhile shows up.
class DriveComboBox : public QComboBox
{
public:
    DriveComboBox(QWidget *parent, std::function<void()> beforePopup)
        : QComboBox(parent)
        , m_beforePopup(std::move(beforePopup))
    {
    }

    void showPopup() override
    {
        m_beforePopup();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_beforePopup;
};

QFont partFont()
{
    return designFont(u"MS Sans Serif"_s, 8.25);
}

void fillDriveList(QComboBox *list)
{
    const QSignalBlocker blocker(list);
    const QString shown = list->currentText();
    list->clear();
    list->addItems(drives());
    list->setCurrentIndex(std::max(0, list->findText(shown)));
}

} // namespace

QStringList FolderBrowserView::patterns()
{
    return { u"*.*"_s,
             u"*.exe;*.com;*.bat;*.sys"_s,
             u"*.dll;*.vxd;*.drv;*.386"_s,
             u"*.jpg;*.gif;*.pcx;*.tif"_s,
             u"*.bmp;*.dib"_s,
             u"*.tga;*.pc*;*.rle"_s,
             u"*.txt;*.prn;*.ans;*.asc"_s,
             u"*.doc;*.dot"_s,
             u"*.xl*;*.wk*"_s,
             u"*.zip;*.lzh;*.arj;*.arc"_s };
}

FolderBrowserView::FolderBrowserView(QWidget *clientArea)
    : QObject(clientArea)
{
    createLists(clientArea);
    createAttributeBoxes(clientArea);
    m_statusStrip = new StatusStrip(clientArea);
}

FolderBrowserView::~FolderBrowserView()
{
    // The views go with the client area later; they must not outlive their models' owner
    // still pointing at them.
    if (m_folderList)
        m_folderList->setModel(nullptr);
    if (m_fileList)
        m_fileList->setModel(nullptr);
}

void FolderBrowserView::createLists(QWidget *clientArea)
{
    const QFont font = partFont();

    m_folderList = new QListView(clientArea);
    m_folderList->setObjectName(u"dlbFolder"_s);
    m_folderList->setFont(font);
    m_folderList->setGeometry(twipsRect(0, 3120, 2895, 1830));
    m_folderList->setAccessibleName(u"Folders"_s);
    m_folderList->setModel(&m_browser.folders());
    m_folderList->setItemDelegate(new FolderIndentDelegate(m_folderList));
    m_folderList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_folderList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folderList->setUniformItemSizes(true);
    const QStyle *style = m_folderList->style();
    m_browser.folders().setIcons(
        QIcon::fromTheme(u"folder-open"_s, style->standardIcon(QStyle::SP_DirOpenIcon)),
        QIcon::fromTheme(u"folder"_s, style->standardIcon(QStyle::SP_DirClosedIcon)));
    connect(m_folderList, &QListView::activated, this,
            [this](const QModelIndex &index) { onFolderActivated(index.row()); });

    m_driveList = new DriveComboBox(clientArea, [this] {
        fillDriveList(m_driveList);
        showCurrentDrive();
    });
    m_driveList->setObjectName(u"drlbDrive"_s);
    m_driveList->setFont(font);
    m_driveList->setGeometry(twipsRect(0, 5040, 2895, 315));
    m_driveList->setAccessibleName(u"Drive"_s);
    fillDriveList(m_driveList);
    connect(m_driveList, &QComboBox::activated, this, [this](int index) {
        // Picking the drive already shown is no change.
        const QString root = m_driveList->itemText(index);
        if (root != m_browser.drive())
            onDriveChosen(root);
    });

    m_patternBox = new QComboBox(clientArea);
    m_patternBox->setObjectName(u"comFilter"_s);
    m_patternBox->setFont(font);
    m_patternBox->setGeometry(twipsRect(4215, 3165, 2415, 315));
    m_patternBox->setAccessibleName(u"File pattern"_s);
    m_patternBox->setEditable(true);
    // Completion would rewrite what is typed; each keystroke must apply exactly the text.
    m_patternBox->setCompleter(nullptr);
    m_patternBox->setInsertPolicy(QComboBox::NoInsert);
    m_patternBox->setMaxVisibleItems(10);
    connect(m_patternBox, &QComboBox::editTextChanged, this, &FolderBrowserView::onPatternEdited);

    m_fileList = new QListView(clientArea);
    m_fileList->setObjectName(u"flbFile"_s);
    m_fileList->setFont(font);
    m_fileList->setGeometry(twipsRect(4215, 3495, 2415, 1815));
    m_fileList->setAccessibleName(u"Files"_s);
    m_fileList->setUniformItemSizes(true);
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileList->setModel(&m_browser.files());
}

void FolderBrowserView::createAttributeBoxes(QWidget *clientArea)
{
    const QStringList captions { u"&Normal"_s, u"&Hidden"_s, u"&System"_s, u"&Read Only"_s,
                                 u"&Archive"_s };
    const QStringList names { u"chkNormal"_s, u"chkHidden"_s, u"chkSystem"_s, u"chkRO"_s,
                              u"chkArchive"_s };
    for (size_t i = 0; i < m_attributeBoxes.size(); ++i) {
        auto *box = new QCheckBox(captions.at(qsizetype(i)), clientArea);
        box->setObjectName(names.at(qsizetype(i)));
        box->setFont(partFont());
        box->setGeometry(twipsRect(3000, 3360 + 360 * int(i), 1095, 255));
        box->setCheckState(Qt::Checked);
        connect(box, &QCheckBox::stateChanged, this, [this, box] { onAttributeBoxChanged(box); });
        m_attributeBoxes[i] = box;
    }
}

void FolderBrowserView::start(const QString &storedFolder)
{
    for (QCheckBox *box : m_attributeBoxes)
        box->setCheckState(Qt::Checked);

    {
        const QSignalBlocker blocker(m_patternBox);
        m_patternBox->clear();
        m_patternBox->addItems(patterns());
        m_patternBox->setEditText(u"*.*"_s);
    }
    m_browser.setPattern(m_patternBox->currentText());
    refresh();

    const QString wanted = storedFolder.isEmpty() ? defaultFolder() : storedFolder;
    const QByteArray folder = nearestExistingFolderPath(QFile::encodeName(wanted));
    onDriveChosen(driveOf(QFile::decodeName(folder)));
    // The stored folder itself: if it has gone, the refresh falls back and says so.
    goToFolder(QFile::encodeName(wanted));
}

void FolderBrowserView::refresh()
{
    m_refreshOwed = false;
    {
        const BusyPointer hourglass(applicationPointer());
        AttributeSwitches switches;
        // A greyed box counts as on; only an unchecked one turns its switch off.
        switches.normal = m_attributeBoxes[NormalBox]->checkState() != Qt::Unchecked;
        switches.hidden = m_attributeBoxes[HiddenBox]->checkState() != Qt::Unchecked;
        switches.system = m_attributeBoxes[SystemBox]->checkState() != Qt::Unchecked;
        switches.readOnly = m_attributeBoxes[ReadOnlyBox]->checkState() != Qt::Unchecked;
        switches.archive = m_attributeBoxes[ArchiveBox]->checkState() != Qt::Unchecked;
        m_browser.setSwitches(switches);

        // Most folders are listed before anyone could read a status word; one that takes
        // longer (a million files at start-up) shows its progress as a save does.
        constexpr qint64 QuietMs = 150;
        QElapsedTimer clock;
        clock.start();
        std::optional<MeterSteps> meter;
        const ListingProgress progress = [&](qint64 inspected, qint64 total) {
            if (!meter) {
                if (!clock.hasExpired(QuietMs))
                    return;
                meter.emplace(total);
                m_statusStrip->setStatusText(u"Reading"_s);
            }
            if (const int percent = meter->percentAt(inspected); percent >= 0)
                m_statusStrip->drawMeter(2, MeterBar, MeterBackground, percent);
            // Keys typed meanwhile wait for the listing, as they always did, to be applied
            // together afterwards.
            if (m_runControl)
                m_runControl->keepPainted();
        };
        const RefreshResult result = m_browser.refresh(progress);
        if (meter) {
            m_statusStrip->drawMeter(0, MeterBar, MeterBackground, 0);
            m_statusStrip->setStatusText(QString());
        }
        showCurrentDrive();
        showCurrentFolder();
        m_statusStrip->showRefresh(result);
    }
    emit refreshed();
}

void FolderBrowserView::settle()
{
    if (m_refreshOwed)
        refresh();
}

void FolderBrowserView::onPatternEdited(const QString &text)
{
    m_browser.setPattern(text);
    if (m_refreshOwed)
        return;
    // Not refreshed here but once this key has been taken in: keys that queued up behind a
    // long refresh arrive together before it runs, and share it.
    m_refreshOwed = true;
    QMetaObject::invokeMethod(this, &FolderBrowserView::settle, Qt::QueuedConnection);
}

void FolderBrowserView::onAttributeBoxChanged(QCheckBox *box)
{
    // A greyed box comes only from the program; once the user has clicked it, it toggles
    // between checked and unchecked like the others.
    if (box->checkState() != Qt::PartiallyChecked && box->isTristate())
        box->setTristate(false);
    refresh();
}

void FolderBrowserView::onDriveChosen(const QString &root)
{
    const QByteArray path = QFile::encodeName(root);
    if (!FolderHandle::open(path).isOpen()) {
        // Not ready (no medium, no permission): quietly show the drive still in use.
        showCurrentDrive();
        return;
    }
    goToFolder(path);
}

void FolderBrowserView::onFolderActivated(int row)
{
    const FolderListModel &folders = m_browser.folders();
    if (row < 0 || row >= folders.rowCount())
        return;
    goToFolder(folders.item(row).path);
}

void FolderBrowserView::goToFolder(const QByteArray &nativePath)
{
    m_browser.setFolderPath(nativePath);
    refresh();
}

void FolderBrowserView::showCurrentDrive()
{
    const QSignalBlocker blocker(m_driveList);
    const QString drive = m_browser.drive();
    int index = m_driveList->findText(drive);
    if (index < 0) {
        fillDriveList(m_driveList);
        index = m_driveList->findText(drive);
    }
    if (index < 0) {
        m_driveList->addItem(drive);
        index = m_driveList->count() - 1;
    }
    m_driveList->setCurrentIndex(index);
}

void FolderBrowserView::showCurrentFolder()
{
    const int row = m_browser.folders().currentRow();
    if (row < 0)
        return;
    const QModelIndex index = m_browser.folders().index(row);
    m_folderList->setCurrentIndex(index);
    m_folderList->scrollTo(index);
}

} // namespace qm
