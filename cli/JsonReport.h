#pragma once

#include <nlohmann/json.hpp>

class CFilPar;
class CliRunner;

// The whole result of a zantro-cli run as one JSON object: the design
// results and plot series of the form, every message in order and the
// document's parameter set under its field names.
class JsonReport {
public:
    static nlohmann::ordered_json Build(const CliRunner& runner);
    // Every field of the parameter set; bands as objects, input data as [re, im] pairs.
    static nlohmann::ordered_json Parameters(const CFilPar& par);
};
