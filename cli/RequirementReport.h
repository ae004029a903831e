#pragma once

#include <nlohmann/json.hpp>

class CliRunner;

// The "to_spec" object of --json: the estimate and the search's outcome,
// with the achieved figures of every band of the requirement in double
// precision and, with --quantize, for the fixed-point taps. null when
// --to-spec was refused before the search.
class ToSpecReport {
public:
    static nlohmann::ordered_json Build(const CliRunner& runner);
};
