#pragma once

#include <string>

#include "form/CFloatKeys.h"
#include "platform/CDialog.h"
#include "design/DesignMessages.h"

// "Kaiser window shape factor" (template 132): beta, 0.00 .. 20.00. The
// factor is shown with two decimals, so accepting it unchanged rounds it.
class CKaiserShapeDlg : public CDialog {
public:
    enum { IDD = 132 };
    enum Control {
        IDC_SHAPE_PROMPT = 1035,
        IDC_SHAPE_EDIT = 1036,
        IDC_SHAPE_HEADING = 1037,
        IDC_SHAPE_FACTORS = 1038,
        IDC_SHAPE_NAMES = 1039,
    };

    explicit CKaiserShapeDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    std::string m_strShape;
    double m_dShapeFactor = 5.0;
    CFloatKeys m_ShapeEdit;
};
