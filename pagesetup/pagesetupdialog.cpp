#include "pagesetup/pagesetupdialog.h"

#include "platform/twips.h"
#include "platform/uifonts.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QProxyStyle>
#include <QPushButton>

namespace qm {

namespace {

struct Place
{
    int left, top, width, height;
    QRect rect() const { return twipsRect(left, top, width, height); }
};

struct FieldPlace
{
    const char *name;
    const char *caption;
    Place label;
    Place field;
};

// In the order of PageSetupField; places relative to the field's frame.
constexpr std::array<FieldPlace, PageSetupFieldCount> FieldPlaces { {
    { "mgnLeft", "Left", { 45, 345, 600, 255 }, { 720, 315, 600, 285 } },
    { "mgnRight", "Right", { 45, 705, 600, 255 }, { 720, 675, 600, 285 } },
    { "mgnTop", "Top", { 45, 1065, 600, 255 }, { 720, 1035, 600, 285 } },
    { "mgnBottom", "Bottom", { 45, 1425, 600, 255 }, { 720, 1395, 600, 285 } },
    { "widCol0", "File Name", { 60, 525, 1095, 255 }, { 1215, 495, 495, 285 } },
    { "widCol1", "Files Size", { 60, 885, 1095, 255 }, { 1215, 855, 495, 285 } },
    { "widCol2", "Time and Date", { 60, 1215, 1095, 255 }, { 1215, 1215, 495, 285 } },
} };

// The units list is 630 twips narrow, which at 96 dots per inch leaves the style's label room
// too narrow for "mm". The label may also use the blank part of the arrow's room, up to a
// little before the arrow itself.
class UnitListStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox || part != SC_ComboBoxEditField)
            return rect;
        const QRect arrow = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
        // The arrow is drawn centred in its room, narrower than half of it.
        const int labelEnd = arrow.center().x() - arrow.width() / 4 - 1;
        if (rect.right() < labelEnd && rect.right() >= arrow.left() - 1)
            rect.setRight(labelEnd);
        return rect;
    }
};

QRectF twipsRectF(const QRectF &points)
{
    return QRectF(points.topLeft() * TwipsPerPoint, points.size() * TwipsPerPoint);
}

} // namespace

MarginMinimums printerMarginMinimums(const QPrinter &printer)
{
    if (!printer.isValid())
        return {};
    const QRectF paper = twipsRectF(printer.paperRect(QPrinter::Point));
    const QRectF printable = twipsRectF(printer.pageRect(QPrinter::Point));
    return marginMinimums(paper.size(), printable.size());
}

PageSetupDialog::PageSetupDialog(CatalogueState &state, Questions &questions,
                                 MarginMinimums minimums, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
    , m_session(state, minimums)
    , m_questions(questions)
{
    setWindowTitle(QStringLiteral("Page Setup"));
    setObjectName(QStringLiteral("frmPageSetup"));
    setModal(true);
    setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));

    createControls();
    setTabChain();
    filterEveryKey();

    m_session.setShowHandler(
        [this](PageSetupField field, const QString &text) { this->field(field)->setText(text); });
    m_session.open();
    {
        const QSignalBlocker quiet(m_units);
        m_units->setCurrentIndex(m_units->findText(m_session.selectorUnit()));
    }
    connect(m_units, &QComboBox::currentIndexChanged, this, &PageSetupDialog::onUnitChosen);

    setFixedSize(twipsToPixels(3885), twipsToPixels(2535));
    move(twipsToPixels(3180), twipsToPixels(1830));
    field(PageSetupField::Left)->setFocus(Qt::OtherFocusReason);
}

PageSetupDialog::~PageSetupDialog() = default;

void PageSetupDialog::createControls()
{
    auto *margins = new QGroupBox(QStringLiteral("Margins"), this);
    margins->setObjectName(QStringLiteral("Frame1"));
    margins->setGeometry(twipsRect(90, 105, 1545, 1815));
    auto *columns = new QGroupBox(QStringLiteral("Column Widths "), this);
    columns->setObjectName(QStringLiteral("Frame2"));
    columns->setGeometry(twipsRect(1845, 105, 1920, 1830));

    auto *percent = new QLabel(QStringLiteral("Percent of Print Width"), columns);
    percent->setGeometry(twipsRect(30, 240, 1845, 240));
    percent->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    for (std::size_t i = 0; i < FieldPlaces.size(); ++i) {
        const FieldPlace &place = FieldPlaces[i];
        QGroupBox *frame = isMarginField(PageSetupField(i)) ? margins : columns;
        auto *label = new QLabel(QString::fromLatin1(place.caption), frame);
        label->setGeometry(place.label.rect());
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

        auto *edit = new QLineEdit(frame);
        edit->setObjectName(QString::fromLatin1(place.name));
        edit->setGeometry(place.field.rect());
        // Composed input would slip past the key filter.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        label->setBuddy(edit);
        m_fields[i] = edit;
    }

    auto *units = new QLabel(QStringLiteral("Units"), this);
    units->setGeometry(twipsRect(45, 2130, 420, 255));
    units->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("cmbMU"));
    m_units->addItems(measurementUnits());
    m_units->setGeometry(twipsRect(495, 2100, 630, 315));
    auto *unitStyle = new UnitListStyle(m_units->style()->name());
    unitStyle->setParent(m_units);
    m_units->setStyle(unitStyle);
    units->setBuddy(m_units);

    const auto button = [this](const char *name, const QString &caption, int left) {
        auto *push = new QPushButton(caption, this);
        push->setObjectName(QString::fromLatin1(name));
        push->setGeometry(twipsRect(left, 2055, 810, 375));
        return push;
    };
    m_ok = button("Command1", QStringLiteral("OK"), 2085);
    m_font = button("Command2", QStringLiteral("Font"), 1200);
    m_cancel = button("Command3", QStringLiteral("Cancel"), 2970);
    connect(m_ok, &QPushButton::clicked, this, &PageSetupDialog::keep);
    connect(m_font, &QPushButton::clicked, this, &PageSetupDialog::chooseFont);
    connect(m_cancel, &QPushButton::clicked, this, &PageSetupDialog::cancel);
}

void PageSetupDialog::setTabChain()
{
    QList<QWidget *> order(m_fields.begin(), m_fields.end());
    order << m_units << m_ok << m_font << m_cancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void PageSetupDialog::filterEveryKey()
{
    installEventFilter(this);
    m_units->view(); // its popup list exists from now on, and is filtered too
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(this);
}

int PageSetupDialog::fieldIndex(const QObject *object) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i] == object)
            return int(i);
    }
    return -1;
}

bool PageSetupDialog::eventFilter(QObject *watched, QEvent *event)
{
    const int index = fieldIndex(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!pageSetupKeyPasses(key->key(), key->modifiers()))
            return true;
        if (index < 0)
            break;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (!m_closed)
                m_session.commit(PageSetupField(index), m_fields[std::size_t(index)]->text());
            return true;
        }
        if (key->key() == Qt::Key_Comma) { // the keypad's decimal key in some layouts
            m_fields[std::size_t(index)]->insert(QStringLiteral("."));
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        if (index >= 0) {
            m_fields[std::size_t(index)]->selectAll();
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
                m_clickedIn = m_fields[std::size_t(index)];
        }
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Another window taking the focus, or a menu, leaves the field focused in the dialog.
        if (index >= 0 && !m_closed && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::PopupFocusReason)
            m_session.commit(PageSetupField(index), m_fields[std::size_t(index)]->text());
        if (index >= 0)
            m_clickedIn = nullptr;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The click that focused a field must not put the cursor in place of the selection.
        if (index >= 0 && m_fields[std::size_t(index)] == m_clickedIn
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            return true;
        break;
    case QEvent::MouseButtonRelease:
        if (index >= 0 && m_fields[std::size_t(index)] == m_clickedIn) {
            m_clickedIn = nullptr;
            m_fields[std::size_t(index)]->selectAll();
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void PageSetupDialog::onUnitChosen(int index)
{
    if (!m_closed && index >= 0)
        m_session.chooseUnit(m_units->itemText(index));
}

void PageSetupDialog::chooseFont()
{
    if (m_session.chooseFont(m_questions))
        emit previewRedrawRequested();
}

void PageSetupDialog::commitFocusedField()
{
    const int index = fieldIndex(focusWidget());
    if (index >= 0 && !m_closed)
        m_session.commit(PageSetupField(index), m_fields[std::size_t(index)]->text());
}

void PageSetupDialog::keep()
{
    // Reached by the keyboard or the title bar, a field may still hold the focus.
    commitFocusedField();
    m_closed = true;
    done(Accepted);
}

void PageSetupDialog::reject()
{
    keep();
}

void PageSetupDialog::cancel()
{
    m_closed = true;
    m_session.cancel();
    done(Rejected);
}

} // namespace qm
