#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"
#include "design/RateChangeDesign.h"
#include "design/RateChangeSearch.h"
#include "document/ExportProfile.h"

// What zantro-cli and the Python module report and export of a rate
// change's design (Design of a request with a rateChange), so both give
// the same figures, texts and files.

// The prototype at the high rate as the export describes it: the request's
// lowpass, its band table (a half-band: G's), the mask it was measured on
// and its figures, the rate change for the multirate profiles.
ExportDesign RateChangeExportDesign(const DesignRequest& request, const DesignOutcome& outcome);

// The "multirate" object: kind, factor, pass edge, rates, the polyphase
// components, MACs per output and the weakest alias attenuation of the
// double taps and of the taps in the quantize format.
nlohmann::ordered_json RateChangeJson(const DesignOutcome& outcome, double fs, const QuantSpec& quantize);

// The "to_spec" object of a search: status, the N found and the next
// smaller one, the worst margin, every trial and the two judged.
nlohmann::ordered_json RateSearchJson(const SpecSearchResult& search);

// The message after a search: the N found (and by how much the next
// smaller misses), or how far the best design up to the largest N falls
// short; the rate's refusal when there was no search.
std::string RateSearchMessage(const RateChangeSearch& search, const std::optional<QuantSpec>& quantize);
