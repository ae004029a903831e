#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "form/DesignAnalysis.h"

class AnalysisChartView;
class AnalysisChosenWords;
class AnalysisReference;
class CZantroView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QTableWidget;

// Extras > Analysis...: a modeless, resizable window that follows the form's
// designs. It shows the magnitude in dB of the design and of its quantised
// taps over the measured bands drawn as a mask, the group delay of both, a
// table of the figures side by side (misses of a band's limit in red) and
// the bands themselves, whose edges, kinds and limits the user may edit.
// For the lowpass of a rate change it shades the alias bands ("alias
// bands"), draws a decimator's folded response ("folded": the power that
// lands on each output frequency, 0 .. fs/(2 factor)) and titles the
// magnitude with the alias attenuation. Hold as Reference keeps the design
// shown for comparison: later designs are drawn over its curves and the
// table gains its figures, measured on the same bands, until Clear Reference.
// "Chosen words" adds the fixed-point words chosen for the bands' limits (or
// for the form's word request) as a curve and a column beside the rounded.
class AnalysisWindow : public QWidget {
    Q_OBJECT

public:
    // Band table columns.
    enum BandColumn { kKindColumn = 0, kLoColumn, kHiColumn, kLimitColumn };
    // The format list: Q7, Q15, Q31, then word lengths.
    static const std::vector<int> kWordLengths;

    explicit AnalysisWindow(const CZantroView& view, QWidget* parent = nullptr);
    ~AnalysisWindow() override;

    // Measures again when the form's design changed since the last look.
    void Follow();
    // Measures the form's design now.
    void Refresh();

    const DesignAnalysis& Analysis() const { return m_analysis; }
    AnalysisChartView* MagnitudeView() const { return m_pMagnitude; }
    AnalysisChartView* GroupDelayView() const { return m_pGroupDelay; }
    QLineSeries* DesignCurve() const { return m_pDesignCurve; }
    QLineSeries* QuantizedCurve() const { return m_pQuantCurve; }
    QTableWidget* FiguresTable() const { return m_pFigures; }
    QTableWidget* BandsTable() const { return m_pBands; }
    QComboBox* FormatList() const { return m_pFormat; }
    QComboBox* RoundingList() const { return m_pRounding; }
    QLabel* StatusLine() const { return m_pStatus; }
    // The frequency and value under the pointer over a plot.
    QLabel* Readout() const { return m_pReadout; }
    const std::vector<double>& Limits() const { return m_limits; }
    // Holds the design shown as the reference, or clears the one held.
    QPushButton* ReferenceButton() const { return m_pReferenceButton; }
    const AnalysisReference& Reference() const { return *m_pReference; }
    // "Chosen words": the words chosen for the bands' limits, beside the rounded.
    const AnalysisChosenWords& ChosenWords() const { return *m_pChosen; }
    // Both zoomable views back to their whole range.
    void ResetZoom();
    // The two plots as a PNG or SVG picture (by the name's extension),
    // written through a temporary file; false when it could not be written.
    bool ExportPicture(const QString& path);
    // The quantisation the format and rounding lists choose.
    QuantSpec ChosenQuantSpec() const;

protected:
    // Escape closes the window, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void Recompute();
    void FillBandTable();
    void BandEdited();
    void UseDerivedBands();
    void AddBand();
    void RemoveBand();
    void DrawCurves();
    void DrawMask();
    void DrawRateChange();
    void FillFigures();
    void ToggleReference();
    void ExportDialog();
    std::vector<double> Signature() const;

    const CZantroView& m_view;
    DesignAnalysis m_analysis;
    std::optional<std::vector<MaskBand>> m_userMask;
    std::vector<double> m_limits;
    std::vector<double> m_signature;
    bool m_bFilling = false;
    // Derived Bands pressed since the last new design: no requirement's bands.
    bool m_bDerivedChosen = false;

    QComboBox* m_pFormat = nullptr;
    QComboBox* m_pRounding = nullptr;
    AnalysisChartView* m_pMagnitude = nullptr;
    AnalysisChartView* m_pGroupDelay = nullptr;
    QWidget* m_pPlots = nullptr;
    QLineSeries* m_pDesignCurve = nullptr;
    QLineSeries* m_pQuantCurve = nullptr;
    QLineSeries* m_pDesignDelay = nullptr;
    QLineSeries* m_pQuantDelay = nullptr;
    QTableWidget* m_pBands = nullptr;
    QTableWidget* m_pFigures = nullptr;
    QLabel* m_pStatus = nullptr;
    QLabel* m_pReadout = nullptr;
    QPushButton* m_pReferenceButton = nullptr;
    std::unique_ptr<AnalysisReference> m_pReference;
    std::unique_ptr<AnalysisChosenWords> m_pChosen;
    std::optional<DesignAnalysis> m_referenceMeasured;  // on the current bands
};
