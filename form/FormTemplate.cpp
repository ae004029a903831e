#include "form/FormTemplate.h"

#include "document/CFilPar.h"
#include "form/CZantroView.h"

namespace {

std::vector<std::string> Entries(const char* const* names, size_t count)
{
    return std::vector<std::string>(names, names + count);
}

template <size_t N>
std::vector<std::string> Entries(const char* const (&names)[N])
{
    return Entries(names, N);
}

DialogTemplate MakeForm()
{
    using K = ControlKind;
    const unsigned number = StyleDigitsOnly | StyleRight;
    DialogTemplate t;
    t.id = kFormTemplateId;
    t.cx = 811;
    t.cy = 561;
    t.controls = {
        {IDC_FILTER_TYPE_LABEL, K::Static, "Filter Type", 20, 15, 40, 8},
        {IDC_FILTER_TYPE, K::DropDownList, "", 110, 10, 70, 105, StyleNone, Entries(kFilterTypeNames)},
        {IDC_TAPS_LABEL, K::Static, "# of Taps (Coefficients)", 20, 35, 80, 8},
        {IDC_TAPS, K::Edit, "", 140, 30, 40, 14, number},
        {IDC_DESIGN_METHOD_LABEL, K::Static, "Design Method", 20, 55, 55, 8},
        {IDC_DESIGN_METHOD, K::DropDownList, "", 110, 50, 70, 55, StyleNone, Entries(kDesignMethodNames)},
        {IDC_WINDOW_TYPE_LABEL, K::Static, "Window Type", 20, 75, 55, 8},
        {IDC_WINDOW_TYPE, K::DropDownList, "", 110, 70, 70, 75, StyleNone, Entries(kWindowTypeNames)},
        {IDC_IR_SCALING_LABEL, K::Static, "Impulse Response Scaling", 20, 95, 84, 8},
        {IDC_IR_SCALING, K::DropDownList, "", 110, 90, 70, 70, StyleNone, Entries(kIRScalingNames)},
        {IDC_SAMPLING_RATE_LABEL, K::Static, "Sampling Rate", 220, 15, 55, 8},
        {IDC_SAMPLING_RATE, K::Edit, "", 300, 10, 40, 14, number},
        {IDC_FIRST_CORNER_LABEL, K::Static, "First Corner", 220, 35, 40, 8},
        {IDC_FIRST_CORNER, K::Edit, "", 300, 30, 40, 14, number},
        {IDC_SECOND_CORNER_LABEL, K::Static, "Second Corner", 220, 55, 50, 8},
        {IDC_SECOND_CORNER, K::Edit, "", 300, 50, 40, 14, number},
        {IDC_SINX_COMP_LABEL, K::Static, "sin(x) / x   Compensation", 220, 75, 85, 8},
        {IDC_SINX_COMP, K::CheckBox, "", 330, 75, 10, 10, StyleAuto},
        {IDC_IR_SCALE_LABEL, K::Static, "Impulse Response Scale", 220, 95, 80, 8},
        {IDC_IR_SCALE, K::Edit, "", 310, 90, 30, 14, StyleRight},
        {IDC_TARGET_FILTER_LABEL, K::Static, "Target Filter", 390, 15, 48, 8},
        {IDC_TARGET_FILTER, K::DropDownCombo, "", 454, 12, 68, 140, StyleNone, Entries(kTargetFilterNames)},
        {IDC_DESIGN, K::PushButton, "Design", 740, 10, 50, 14},
        {IDC_READ_FILE, K::PushButton, "Read File", 740, 30, 50, 14},
        {IDC_MAKE_FILE, K::PushButton, "Make File", 740, 50, 50, 14},
        {IDC_SPARE, K::PushButton, "Spare", 740, 70, 50, 14, StyleHidden},
        {IDC_CLOSE, K::PushButton, "Close", 740, 90, 50, 14},
        {IDC_MAGNITUDE_CAPTION, K::Static, "Magnitude", 20, 120, 115, 8},
        {IDC_IMPULSE_TITLE, K::Static, "Impulse Response", 415, 120, 70, 8},
        {IDC_PHASE_TITLE, K::Static, "Phase", 20, 340, 45, 8},
        {IDC_STEP_TITLE, K::Static, "Step Response", 415, 340, 65, 8},
    };
    return t;
}

}  // namespace

const DialogTemplate& ZantroFormTemplate()
{
    static const DialogTemplate form = MakeForm();
    return form;
}
