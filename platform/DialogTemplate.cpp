#include "platform/DialogTemplate.h"

const ControlTemplate* DialogTemplate::Find(int controlId) const
{
    for (const auto& c : controls)
        if (c.id == controlId)
            return &c;
    return nullptr;
}

std::vector<int> DialogTemplate::RadioGroup(int firstId) const
{
    std::vector<int> ids;
    bool inGroup = false;
    for (const auto& c : controls) {
        if (!inGroup) {
            if (c.id == firstId && c.kind == ControlKind::RadioButton) {
                inGroup = true;
                ids.push_back(c.id);
            }
            continue;
        }
        if ((c.style & StyleGroup) || c.kind != ControlKind::RadioButton)
            break;
        ids.push_back(c.id);
    }
    return ids;
}
