#include "app/CAboutDlg.h"

#include "platform/DialogTemplate.h"

namespace {

DialogTemplate MakeAbout()
{
    using K = ControlKind;
    DialogTemplate t;
    t.id = CAboutDlg::IDD;
    t.caption = "About Zantro";
    t.cx = 262;
    t.cy = 55;
    t.controls = {
        {-1, K::Icon, "", 11, 17, 20, 20},
        {-1, K::Static, "Zantro Version 1.0", 40, 10, 119, 8},
        {IDOK, K::DefPushButton, "OK", 198, 6, 50, 14, StyleGroup},
    };
    return t;
}

}  // namespace

const DialogTemplate* CAboutDlg::GetTemplate() const
{
    static const DialogTemplate t = MakeAbout();
    return &t;
}
