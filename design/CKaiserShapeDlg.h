#pragma once

#include <string>

#include "design/CFloatKeys.h"
#include "platform/CDialog.h"

// "Kaiser window shape factor" (template 132): beta, 0.00 .. 20.00.
class CKaiserShapeDlg : public CDialog {
public:
    explicit CKaiserShapeDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    std::string m_strShape;
    double m_dShapeFactor = 5.0;
    CFloatKeys m_ShapeEdit;
};
