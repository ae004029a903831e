#pragma once

#include <string>
#include <vector>

#include "design/DesignRequest.h"
#include "document/ExportProfile.h"

// Exports of a design by a method beside the form's four (least squares,
// minimum phase, a pulse, a shaped Remez pass band): how the desktop's
// File > Export..., zantro-cli --export and zantro.export describe it.

// The method as the printed report's parameter list names it: "Least
// Squares", "Pulse Shaping" or "Remez Exchange".
std::string MethodListName(const DesignRequest& request);

// The method as exports name it, e.g. "Least Squares, minimum phase",
// "Remez Exchange, CIC compensation R 8, M 1, N 4" or "Pulse Shaping: root
// raised cosine, roll-off 0.35, 8 samples per symbol, 8 symbols, unit
// energy".
std::string MethodName(const DesignRequest& request);

// The export's description of such a design: the request's filter type,
// band table, grid density and scaling, no corners (the band table or the
// pulse stands for them), the taps as designed (natural order, any
// symmetry or none) with gain the applied scale, measured on the method's
// mask (MethodMask) with the -3/-6 dB crossings of the pass types, as
// Design measures them.
ExportDesign MethodExportDesign(const DesignRequest& request, const std::vector<double>& taps, double gain);
