#pragma once

#include <string>

#include "form/CFloatKeys.h"
#include "dsp/RemezBand.h"
#include "platform/CDialog.h"

// "Remez Exchange Parameters" (template 140): the eight-band table of a
// Remez design and its grid density. Edges in Hz, 0 .. fs/2 and ascending;
// values 0.00 .. 1.00 (0.10 .. 3.20 for a differentiator); weights 1.00 ..
// 100.00; grid density 8 .. 64.
class CRemezDlg : public CDialog {
public:
    enum { IDD = 140 };
    enum { IDC_GRID_DENSITY = 1084 };
    static constexpr int kRows = 8;

    // Control ids of row 0 .. 7.
    static constexpr int UseId(int row) { return 1091 + 6 * row; }
    static constexpr int LowerEdgeId(int row) { return 1092 + 6 * row; }
    static constexpr int UpperEdgeId(int row) { return 1093 + 6 * row; }
    static constexpr int ValueId(int row) { return 1094 + 6 * row; }
    static constexpr int WeightId(int row) { return 1096 + 6 * row; }

    explicit CRemezDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    // Seeds the rows from the eight records of bands.
    void LoadBands(const RemezBand* bands, int gridDensity, int samplingRate);
    // Writes the rows back into the eight records and the grid density.
    void StoreBands(RemezBand* bands, int& gridDensity) const;
    // Checks the rows in use; the first failure shows its message, moves the
    // focus to the failing control and returns false.
    bool ValidateBands();

    int m_bUse[kRows];
    unsigned m_nLowerEdge[kRows];
    unsigned m_nUpperEdge[kRows];
    std::string m_strValue[kRows];
    double m_dValue[kRows];
    std::string m_strWeight[kRows];
    double m_dWeight[kRows];
    int m_nFilterType;
    unsigned m_nGridDensity;
    unsigned m_nSamplingRate;  // Hz
    CFloatKeys m_ValueEdit[kRows];
    CFloatKeys m_WeightEdit[kRows];

private:
    // Shows text and moves the focus to control id.
    bool Refuse(const char* text, int id);
};
