#include "cli/JsonReport.h"

#include "cli/CliRunner.h"
#include "document/CFilPar.h"
#include "design/DesignMessages.h"
#include "document/DesignJson.h"
#include "form/DesignAnalysis.h"

using OrderedJson = nlohmann::ordered_json;

namespace {

OrderedJson RealParts(const CPoints& points)
{
    OrderedJson values = OrderedJson::array();
    for (int i = 0; i < points.m_nCount; ++i)
        values.push_back(points.GetValue(i, 0));
    return values;
}

OrderedJson SeriesOf(const CPlotWnd& plot)
{
    OrderedJson values = OrderedJson::array();
    for (int i = 0; i < plot.m_values.m_nCount; ++i)
        values.push_back(plot.m_values[i]);
    return values;
}

}  // namespace

OrderedJson JsonReport::Build(const CliRunner& runner)
{
    const CZantroView& view = runner.View();
    const ScriptedHost& host = runner.Host();

    OrderedJson messages = OrderedJson::array();
    for (const auto& m : host.Messages())
        messages.push_back(m.text);

    OrderedJson report;
    // The form's taps after a refused dialog are not the design asked for.
    const bool refused = host.RefusedDialogs() != 0;
    // Nor are taps that did not converge or rise above the pass band
    // between the bands (the form said the first already).
    std::vector<std::string> warnings;
    if (view.m_bDesignValid == 1 && !refused)
        warnings = UnsoundDesignWarnings(true, AnalyzeDesign(view, std::nullopt, QuantSpec{}).figures);
    for (const std::string& w : warnings)
        messages.push_back(w);
    report["design_valid"] = view.m_bDesignValid == 1 && !refused && view.m_bConverged && warnings.empty();
    report["fir_type"] = view.m_nFirType;
    report["taps"] = view.m_nTaps;
    report["gain"] = view.m_dGain;
    report["ir_peak"] = view.m_dIRPeak;
    report["scale_text"] = host.GetDlgItemText(view, IDC_IR_SCALE);
    report["magnitude_caption"] = host.GetDlgItemText(view, IDC_MAGNITUDE_CAPTION);
    report["coefficients"] = refused ? OrderedJson::array() : RealParts(view.m_Coeffs);
    report["window"] = RealParts(view.m_Window);
    report["step"] = RealParts(view.m_Step);
    report["magnitude"] = SeriesOf(view.m_MagnitudeWnd);
    report["phase"] = SeriesOf(view.m_PhaseWnd);
    report["messages"] = messages;
    report["parameters"] = Parameters(runner.Document().m_FilPar);
    report["modified"] = runner.Document().IsModified();
    report["design_seconds"] = runner.CommandSeconds();
    if (view.m_nDesignMethod == DM_REMEZ && view.m_nRemezPasses > 0)
        report["passes"] = view.m_nRemezPasses;
    else
        report["passes"] = nullptr;
    return report;
}

OrderedJson JsonReport::Parameters(const CFilPar& par)
{
    OrderedJson inputData = OrderedJson::array();
    for (int i = 0; i < par.m_InputData.m_nCount; ++i)
        inputData.push_back({par.m_InputData[i].real(), par.m_InputData[i].imag()});

    OrderedJson p;
    p["m_nDesignMethod"] = par.m_nDesignMethod;
    p["m_nFilterType"] = par.m_nFilterType;
    p["m_nWindowType"] = par.m_nWindowType;
    p["m_nFirstCorner"] = par.m_nFirstCorner;
    p["m_nSecondCorner"] = par.m_nSecondCorner;
    p["m_nSamplingRate"] = par.m_nSamplingRate;
    p["m_nTaps"] = par.m_nTaps;
    p["m_nIRScaling"] = par.m_nIRScaling;
    p["m_bSinXComp"] = par.m_bSinXComp;
    p["m_dIRScale"] = par.m_dIRScale;
    p["m_nStopbandAtt"] = par.m_nStopbandAtt;
    p["m_dShapeFactor"] = par.m_dShapeFactor;
    p["m_dVariance"] = par.m_dVariance;
    p["m_strOutfile"] = par.m_strOutfile;
    p["m_nOutExt"] = par.m_nOutExt;
    p["m_nNumFormat"] = par.m_nNumFormat;
    p["m_bInputData"] = par.m_bInputData;
    p["m_InputData"] = inputData;
    p["m_Bands"] = RemezBandsJson(par.m_Bands);
    p["m_nGridDensity"] = par.m_nGridDensity;
    p["m_nVersion"] = par.m_nVersion;
    return p;
}
