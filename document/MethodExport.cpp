#include "document/MethodExport.h"

#include "design/Design.h"
#include "design/MethodDesign.h"
#include "dsp/DesignKinds.h"
#include "platform/TextFormat.h"

std::string MethodListName(const DesignRequest& q)
{
    switch (q.Method()) {
    case DesignMethod::LeastSquares:
        return "Least Squares";
    case DesignMethod::Pulse:
        return "Pulse Shaping";
    default:
        return kDesignMethodNames[DM_REMEZ];
    }
}

std::string MethodName(const DesignRequest& q)
{
    if (const PulseMethod* pulse = q.As<PulseMethod>()) {
        const PulseRequest& p = pulse->pulse;
        const bool gaussian = p.shape == PulseShape::Gaussian;
        const char* shape = gaussian ? "Gaussian"
                            : p.shape == PulseShape::RaisedCosine ? "raised cosine"
                                                                  : "root raised cosine";
        return FormatText("%s: %s, %s %g, %d samples per symbol, %d symbols, %s", MethodListName(q), shape,
                          gaussian ? "BT" : "roll-off", gaussian ? p.bt : p.rolloff, p.sps, p.span,
                          p.normalisation == PulseNormalisation::UnitDcGain ? "unit gain at DC" : "unit energy");
    }
    std::string name = MethodListName(q);
    if (IsMinimumPhase(q))
        name += ", minimum phase";
    const ResponseShape shape = ShapeOf(q);
    if (shape.kind == ShapeKind::CicInverse)
        name += FormatText(", CIC compensation R %d, M %d, N %d", shape.decimation, shape.delay, shape.stages);
    else if (shape.kind == ShapeKind::InverseSinc)
        name += ", inverse sinc";
    return name;
}

ExportDesign MethodExportDesign(const DesignRequest& q, const std::vector<double>& taps, double gain)
{
    // The form's corners take no part in these designs; the command line
    // and the Python module have none, so the files say none either way.
    DesignRequest request = q;
    request.firstCorner = 0;
    request.secondCorner = 0;
    ExportDesign d;
    d.outline = OutlineOf(request, static_cast<int>(taps.size()), gain);
    // The rows in use: the form's table keeps its unused rows, the command
    // line has none.
    std::erase_if(d.outline.remezBands, [](const RemezBand& b) { return b.m_bUse == 0; });
    d.methodName = MethodName(request);
    d.irScaling = IndexOf(request.scaling);
    d.sinXComp = request.sinXCompensation;
    d.variance = 1.0;  // the new document's: none of these is a Gaussian edge
    d.gridDensity = GridDensityOf(request);
    d.taps = taps;
    d.bands = MethodMask(request, gain);
    d.bandsDerived = true;
    d.crossings = HasCornerCrossings(IndexOf(request.filterType));
    d.figures = MeasureResponse(d.taps, request.samplingRate, d.bands, d.crossings);
    return d;
}
