#pragma once

#include <QSize>
#include <map>
#include <vector>

#include "app/DialogUnits.h"
#include "platform/DialogTemplate.h"

class QButtonGroup;
class QWidget;

// Turns a form or dialog template into real widgets, placed in pixels by
// the template font's dialog units, in template order (which is also the
// tab order and the stacking order, as on the windowing platform).
class DialogBuilder {
public:
    struct Control {
        int id = 0;
        ControlKind kind = ControlKind::Static;
        unsigned style = StyleNone;
        QWidget* widget = nullptr;
        QButtonGroup* radioGroup = nullptr;  // automatic radio buttons only
    };

    explicit DialogBuilder(const DialogTemplate& t);

    // Creates the controls as children of parent and gives parent the
    // template's font. Controls with id -1 (unnamed statics) are created
    // but cannot be addressed.
    std::vector<Control> Build(QWidget* parent) const;

    // Client size of the form or dialog in pixels.
    QSize ClientSize() const;
    const DialogUnits& Units() const { return m_units; }
    // Height of a closed drop-down in pixels (font height plus its frame).
    int ComboHeight() const { return m_units.BaseY() + 8; }

private:
    QWidget* MakeWidget(const ControlTemplate& c, QWidget* parent) const;
    // Pixels of a control as placed (drop-downs closed).
    QRect PixelRect(const ControlTemplate& c) const;
    // Widest that a control at rect may become without reaching the next
    // control to its right.
    int RoomRight(const ControlTemplate& c, const QRect& rect) const;

    const DialogTemplate& m_template;
    DialogUnits m_units;
};
