#include "document/ForeignTaps.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

#include "document/RegularFile.h"
#include "platform/TextFormat.h"

namespace {

// Files beyond this size hold more than kMaxForeignTaps numbers of any
// sensible length; they are refused before they are read.
constexpr std::uint64_t kMaxFileBytes = 64u << 20;

TapsFile Refused(TapsFileStatus status, int line = 0, std::string field = {})
{
    TapsFile f;
    f.status = status;
    f.line = line;
    f.field = std::move(field);
    return f;
}

TapsFile Counted(TapsFile f)
{
    if (f.status == TapsFileStatus::Ok && f.taps.empty())
        f.status = TapsFileStatus::NoTaps;
    if (f.status == TapsFileStatus::Ok && f.taps.size() > static_cast<size_t>(kMaxForeignTaps))
        return Refused(TapsFileStatus::TooMany);
    return f;
}

TapsFile ParseJson(std::string_view text)
{
    const nlohmann::json j = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    if (j.is_discarded())
        return Refused(TapsFileStatus::BadJson);
    const nlohmann::json* array = &j;
    TapsFile f;
    f.status = TapsFileStatus::Ok;
    if (j.is_object()) {
        array = j.contains("taps") ? &j["taps"] : j.contains("coefficients") ? &j["coefficients"] : nullptr;
        const nlohmann::json* rate = nullptr;
        if (j.contains("parameters") && j["parameters"].is_object() && j["parameters"].contains("m_nSamplingRate"))
            rate = &j["parameters"]["m_nSamplingRate"];
        else if (j.contains("source") && j["source"].is_object() && j["source"].contains("sampling_rate_hz"))
            rate = &j["source"]["sampling_rate_hz"];
        else if (j.contains("sampling_rate_hz"))
            rate = &j["sampling_rate_hz"];
        if (rate && rate->is_number())
            f.samplingRateHz = rate->get<double>();
    }
    if (!array || !array->is_array())
        return Refused(TapsFileStatus::BadJson);
    for (const nlohmann::json& v : *array) {
        if (!v.is_number())
            return Refused(TapsFileStatus::BadJson);
        f.taps.push_back(v.get<double>());
    }
    return Counted(f);
}

// A decimal number whose magnitude is below the smallest double (its
// nearest double is 0) rather than beyond the largest: a negative
// exponent, or no exponent and no nonzero digit before the point.
bool Underflows(std::string_view number)
{
    const size_t e = number.find_first_of("eE");
    if (e != std::string_view::npos)
        return e + 1 < number.size() && number[e + 1] == '-';
    for (char c : number.substr(0, number.find('.')))
        if (c >= '1' && c <= '9')
            return false;
    return true;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

TapsFile ParseText(std::string_view text)
{
    TapsFile f;
    f.status = TapsFileStatus::Ok;
    int lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        ++lineNumber;
        if (const size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        // A comma with no field since the line's start or the last comma
        // leaves a field empty; one at the end of a line is a row's end.
        bool fieldSinceComma = false;
        size_t i = 0;
        while (i < line.size()) {
            if (IsSeparator(line[i])) {
                ++i;
                continue;
            }
            if (line[i] == ',') {
                if (!fieldSinceComma)
                    return Refused(TapsFileStatus::EmptyField, lineNumber);
                fieldSinceComma = false;
                ++i;
                continue;
            }
            size_t j = i;
            while (j < line.size() && line[j] != ',' && !IsSeparator(line[j]))
                ++j;
            const std::string_view field = line.substr(i, j - i);
            // from_chars takes no "+"; a second sign after it stays refused.
            const char* begin = field.data() + (field[0] == '+' && field.size() > 1 && field[1] != '-' ? 1 : 0);
            double value = 0.0;
            const auto [ptr, ec] = std::from_chars(begin, field.data() + field.size(), value);
            if (ptr != field.data() + field.size() || (ec != std::errc() && ec != std::errc::result_out_of_range))
                return Refused(TapsFileStatus::NotANumber, lineNumber, std::string(field));
            // A number too small for a double rounds to zero, as it would in
            // any target's format; one too large, infinity and NaN are no taps.
            if (ec == std::errc::result_out_of_range && Underflows(field))
                value = 0.0;
            else if (ec == std::errc::result_out_of_range || !std::isfinite(value))
                return Refused(TapsFileStatus::NotFinite, lineNumber, std::string(field));
            f.taps.push_back(value);
            if (f.taps.size() > static_cast<size_t>(kMaxForeignTaps))
                return Refused(TapsFileStatus::TooMany);
            fieldSinceComma = true;
            i = j;
        }
        start = end + 1;
    }
    return Counted(f);
}

}  // namespace

TapsFile ParseTaps(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n\v\f");
    if (first != std::string_view::npos && (text[first] == '{' || text[first] == '['))
        return ParseJson(text);
    return ParseText(text);
}

TapsFile ReadTapsFile(const std::string& path)
{
    std::uint64_t size = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenRegularFile(path, size), &std::fclose);
    if (!file || size > kMaxFileBytes)
        return Refused(file ? TapsFileStatus::TooMany : TapsFileStatus::CannotOpen);
    std::string text(static_cast<size_t>(size), '\0');
    if (size > 0 && std::fread(text.data(), 1, text.size(), file.get()) != text.size())
        return Refused(TapsFileStatus::CannotOpen);
    return ParseTaps(text);
}

std::string TapsFileMessage(const TapsFile& f, const std::string& path)
{
    switch (f.status) {
    case TapsFileStatus::Ok:
        return {};
    case TapsFileStatus::CannotOpen:
        return FormatText("Cannot read file %s", path);
    case TapsFileStatus::NoTaps:
        return FormatText("%s holds no taps.", path);
    case TapsFileStatus::NotANumber:
        return FormatText("%s, line %d: '%s' is not a number.", path, f.line, f.field);
    case TapsFileStatus::NotFinite:
        return FormatText("%s, line %d: %s is not a finite number.", path, f.line, f.field);
    case TapsFileStatus::EmptyField:
        return FormatText("%s, line %d: a field between two commas is empty.", path, f.line);
    case TapsFileStatus::TooMany:
        return FormatText("%s holds more than %d taps.", path, kMaxForeignTaps);
    case TapsFileStatus::BadJson:
        return FormatText("%s is JSON but holds no array of numbers as taps, coefficients or the whole file.", path);
    }
    return {};
}

ExportDesign ForeignExportDesign(const std::vector<double>& taps, double fs, const std::string& source,
                                 const std::vector<MaskBand>& bands, const std::vector<SpecBand>& requirement)
{
    ExportDesign d;
    d.outline.taps = static_cast<int>(taps.size());
    d.outline.fs = fs;
    d.foreignSource = source;
    d.taps = taps;
    d.bands = bands;
    if (d.bands.empty())
        for (const SpecBand& b : requirement)
            d.bands.push_back({b.kind, b.loHz, b.hiHz, 1.0});
    d.bandsDerived = false;
    // The -3 and -6 dB crossings out of the pass bands, as zantro.measure
    // measures any taps.
    d.crossings =
        std::any_of(d.bands.begin(), d.bands.end(), [](const MaskBand& b) { return b.kind == BandKind::Pass; });
    d.requirement = requirement;
    d.figures = MeasureResponse(d.taps, fs, d.bands, d.crossings);
    return d;
}
