#pragma once

#include <QIcon>

// The 16 x 15 pixel pictures of the toolbar buttons, drawn in the style of
// the platform's standard toolbar: New, Open, Save, Cut, Copy, Paste,
// Print, About and context help, by command id. An unknown id gives an
// empty icon.
QIcon ToolbarIcon(int commandId);

// The program's icon (also the document icon's base).
QIcon ApplicationIcon();

// Registers the program's resources (icons, the user guide); safe to repeat.
void InitZantroResources();
