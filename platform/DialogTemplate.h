#pragma once

#include <string>
#include <vector>

// Forms and dialogs as data: what the windowing platform would read from a
// dialog resource. Positions and sizes are in dialog units.

enum class ControlKind {
    Static,
    Edit,
    DropDownList,   // combo box, selection only
    DropDownCombo,  // combo box with an edit field
    CheckBox,
    RadioButton,
    GroupBox,
    PushButton,
    DefPushButton,
    Icon,           // the program's icon at x, y; no text
};

enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleDigitsOnly = 1u << 0,  // edit accepts only the digits 0..9
    StyleRight = 1u << 1,       // right-aligned text
    StyleGroup = 1u << 2,       // first control of a group (radio groups)
    StyleHidden = 1u << 3,      // created invisible
    StyleAuto = 1u << 4,        // automatic check box / radio button
    StyleMultiLine = 1u << 5,
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string text;
    int x = 0, y = 0, cx = 0, cy = 0;
    unsigned style = StyleNone;
    std::vector<std::string> items;  // combo entries, in index order
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int cx = 0, cy = 0;
    std::string fontFace = "MS Sans Serif";
    int fontPoints = 8;
    std::vector<ControlTemplate> controls;

    // The control with this id, or nullptr.
    const ControlTemplate* Find(int controlId) const;
    // Ids of the radio group that starts at firstId: the radio buttons that
    // follow it in template order up to the next control with StyleGroup.
    std::vector<int> RadioGroup(int firstId) const;
};
