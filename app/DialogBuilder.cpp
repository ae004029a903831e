#include "app/DialogBuilder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/ControlEdit.h"

DialogBuilder::DialogBuilder(const DialogTemplate& t) : m_template(t), m_units(t)
{
}

QSize DialogBuilder::ClientSize() const
{
    return QSize(m_units.ToPixelsX(m_template.cx), m_units.ToPixelsY(m_template.cy));
}

QWidget* DialogBuilder::MakeWidget(const ControlTemplate& c, QWidget* parent) const
{
    const QString text = QString::fromStdString(c.text);
    QRect rect = m_units.ToPixels(c.x, c.y, c.cx, c.cy);
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::Static: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(((c.style & StyleRight) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        // The fallback font runs a few pixels wider than the platform's own
        // on some texts; rather than wrap or cut a line, the static grows.
        const QFontMetrics fm(parent->font());
        int widest = 0;
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const QString& line : lines)
            widest = std::max(widest, fm.horizontalAdvance(line));
        if (widest > rect.width()) {
            label->setWordWrap(false);
            if (!(c.style & StyleRight))
                rect.setWidth(std::min(widest + 1, RoomRight(c, rect)));
            rect.setHeight(std::max<int>(rect.height(), fm.lineSpacing() * lines.size()));
        }
        w = label;
        break;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        label->setPixmap(QApplication::windowIcon().pixmap(32, 32));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        rect.setSize(QSize(32, 32));
        w = label;
        break;
    }
    case ControlKind::Edit: {
        auto* edit = new ControlEdit(parent);
        edit->setText(text);
        edit->SetDigitsOnly(c.style & StyleDigitsOnly);
        edit->setAlignment(((c.style & StyleRight) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        w = edit;
        break;
    }
    case ControlKind::DropDownList:
    case ControlKind::DropDownCombo: {
        auto* combo = new QComboBox(parent);
        const bool editable = c.kind == ControlKind::DropDownCombo;
        combo->setEditable(editable);
        if (editable) {
            auto* edit = new ControlEdit(combo);
            combo->setLineEdit(edit);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            // An entry wider than the field shows its start, which names it
            // ("bandpass even 50"), not its end.
            // The combo selects the text after it announces the entry, so
            // the start is shown once it is done.
            auto showStart = [edit]() { QTimer::singleShot(0, edit, &ControlEdit::ShowStart); };
            QObject::connect(combo, &QComboBox::currentIndexChanged, edit, showStart);
            QObject::connect(combo, &QComboBox::activated, edit, showStart);
        }
        for (const std::string& item : c.items)
            combo->addItem(QString::fromStdString(item));
        combo->setCurrentIndex(-1);
        // The template height is the height of the opened list: the field
        // plus as many entries as fit below it.
        const int listPixels = rect.height() - ComboHeight() - 2;
        combo->setMaxVisibleItems(std::max(1, listPixels / m_units.BaseY()));
        rect.setHeight(ComboHeight());
        // Likewise a closed drop-down grows to show its longest entry whole
        // where the space beside it allows.
        const int wanted = combo->sizeHint().width();
        if (wanted > rect.width())
            rect.setWidth(std::max(rect.width(), std::min(wanted, RoomRight(c, rect))));
        w = combo;
        break;
    }
    case ControlKind::CheckBox:
        w = new QCheckBox(text, parent);
        break;
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(text, parent);
        radio->setAutoExclusive(false);
        w = radio;
        break;
    }
    case ControlKind::GroupBox:
        w = new QGroupBox(text, parent);
        break;
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(text, parent);
        button->setDefault(c.kind == ControlKind::DefPushButton);
        w = button;
        break;
    }
    }
    w->setGeometry(rect);
    if (c.id != -1)
        w->setObjectName(QStringLiteral("control%1").arg(c.id));
    w->setVisible(!(c.style & StyleHidden));
    return w;
}

QRect DialogBuilder::PixelRect(const ControlTemplate& c) const
{
    QRect r = m_units.ToPixels(c.x, c.y, c.cx, c.cy);
    if (c.kind == ControlKind::DropDownList || c.kind == ControlKind::DropDownCombo)
        r.setHeight(ComboHeight());
    return r;
}

int DialogBuilder::RoomRight(const ControlTemplate& c, const QRect& rect) const
{
    // Up to a small gap before the nearest control to the right on the same
    // lines, or the right edge of the form.
    const int gap = m_units.ToPixelsX(2);
    int right = ClientSize().width() - gap;
    for (const ControlTemplate& other : m_template.controls) {
        if (&other == &c || other.kind == ControlKind::GroupBox)
            continue;
        const QRect o = PixelRect(other);
        if (o.left() > rect.left() && o.top() <= rect.bottom() && o.bottom() >= rect.top())
            right = std::min(right, o.left() - gap);
    }
    return std::max(rect.width(), right - rect.left());
}

std::vector<DialogBuilder::Control> DialogBuilder::Build(QWidget* parent) const
{
    parent->setFont(m_units.GetFont());
    std::vector<Control> built;
    QButtonGroup* group = nullptr;
    for (const ControlTemplate& c : m_template.controls) {
        Control control{c.id, c.kind, c.style, MakeWidget(c, parent), nullptr};
        // An automatic radio group runs from a radio button with the group
        // style, or from the first radio after another kind of control, up
        // to the next control that is not a radio button or starts a group.
        if (c.kind == ControlKind::RadioButton && (c.style & StyleAuto)) {
            if (!group || (c.style & StyleGroup)) {
                group = new QButtonGroup(parent);
                group->setExclusive(true);
            }
            group->addButton(static_cast<QRadioButton*>(control.widget));
            control.radioGroup = group;
        } else {
            group = nullptr;
        }
        built.push_back(control);
    }
    // Drop-downs of one column keep one width, the widest any of them took.
    for (size_t i = 0; i < built.size(); ++i) {
        const ControlTemplate& a = m_template.controls[i];
        if (a.kind != ControlKind::DropDownList && a.kind != ControlKind::DropDownCombo)
            continue;
        int width = built[i].widget->width();
        for (size_t j = 0; j < built.size(); ++j) {
            const ControlTemplate& b = m_template.controls[j];
            if ((b.kind == ControlKind::DropDownList || b.kind == ControlKind::DropDownCombo) && b.x == a.x &&
                b.cx == a.cx)
                width = std::max(width, built[j].widget->width());
        }
        QRect rect = built[i].widget->geometry();
        rect.setWidth(std::max(rect.width(), std::min(width, RoomRight(a, rect))));
        built[i].widget->setGeometry(rect);
    }
    return built;
}
