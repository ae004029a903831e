#include "document/HdlTestVectors.h"

#include <random>

namespace {

std::string CommentLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line.empty() ? "#\n" : "# " + line + "\n";
    return text;
}

}  // namespace

std::vector<HdlStimulusLine> MakeHdlStimulus(const HdlFilterPlan& plan)
{
    const int n = plan.taps;
    const long long top = (1LL << (plan.inputBits - 1)) - 1, bottom = -(1LL << (plan.inputBits - 1));
    std::vector<HdlStimulusLine> lines;
    auto add = [&lines](long long x, int idle = 0) { lines.push_back({false, x, idle, {}}); };
    auto section = [&lines](const char* comment) { lines.push_back({false, 0, 0, comment}); };

    section("impulse of 1: the words");
    add(1);
    for (int k = 1; k < n; ++k)
        add(0);
    section("impulse of full negative scale");
    add(bottom);
    for (int k = 1; k < n; ++k)
        add(0);
    section("full-scale steps up and down");
    for (int k = 0; k < n; ++k)
        add(top);
    for (int k = 0; k < n; ++k)
        add(bottom);
    section("the largest and the smallest y: each sample at the end of its word's sign");
    for (int sign : {1, -1})
        for (int k = n - 1; k >= 0; --k)
            add(plan.words[static_cast<size_t>(k)] * sign >= 0 ? top : bottom);

    // A fixed engine and plain modular draws: the same text on every
    // standard library.
    std::mt19937_64 random(static_cast<unsigned long long>(n) * 7919u + static_cast<unsigned>(plan.inputBits));
    const unsigned long long span = 1ULL << plan.inputBits;
    auto draw = [&] {
        const long long x = bottom + static_cast<long long>(random() % span);
        const bool gap = random() % 4 == 0;
        add(x, gap ? static_cast<int>(random() % 4) : 0);
    };
    section("uniform random samples with idle clocks");
    for (int i = 0; i < 2 * n + 64; ++i)
        draw();
    lines.push_back({true, 0, 0, "a reset while samples are in flight"});
    for (int i = 0; i < n + 32; ++i)
        draw();
    // Section comments sit on the line after them; drop the placeholders.
    std::vector<HdlStimulusLine> out;
    std::string pending;
    for (const HdlStimulusLine& line : lines) {
        if (!line.reset && !line.comment.empty()) {
            pending = line.comment;
            continue;
        }
        out.push_back(line);
        if (!pending.empty())
            out.back().comment = pending;
        pending.clear();
    }
    return out;
}

HdlInteger HdlOutputOf(const HdlFilterPlan& plan, HdlInteger y)
{
    if (!plan.rounded)
        return y;
    const HdlInteger unit = static_cast<HdlInteger>(1) << plan.shift;
    const HdlInteger magnitude = y < 0 ? -y : y;
    HdlInteger q = magnitude / unit;
    if (2 * (magnitude % unit) >= unit)
        ++q;
    const HdlInteger top = static_cast<HdlInteger>(1) << (plan.outputBits - 1);
    const HdlInteger out = y < 0 ? -q : q;
    return out > top - 1 ? top - 1 : out < -top ? -top : out;
}

std::vector<std::vector<HdlInteger>> HdlModelOutputs(const HdlFilterPlan& plan,
                                                     const std::vector<HdlStimulusLine>& stimulus)
{
    std::vector<std::vector<HdlInteger>> segments(1);
    std::vector<long long> x;
    for (const HdlStimulusLine& line : stimulus) {
        if (line.reset) {
            segments.emplace_back();
            x.clear();
            continue;
        }
        x.push_back(line.sample);
        HdlInteger y = 0;
        const size_t count = x.size();
        for (size_t k = 0; k < plan.words.size() && k < count; ++k)
            y += static_cast<HdlInteger>(plan.words[k]) * x[count - 1 - k];
        segments.back().push_back(HdlOutputOf(plan, y));
    }
    return segments;
}

std::string HdlStimulusText(const std::vector<HdlStimulusLine>& stimulus, const std::vector<std::string>& comment)
{
    std::string text = CommentLines(comment);
    for (const HdlStimulusLine& line : stimulus) {
        if (!line.comment.empty())
            text += "# " + line.comment + "\n";
        if (line.reset) {
            text += "reset\n";
            continue;
        }
        text += std::to_string(line.sample);
        if (line.idle > 0)
            text.append(1, ' ').append(std::to_string(line.idle));
        text += '\n';
    }
    return text;
}

std::string HdlExpectedText(const HdlFilterPlan& plan, const std::vector<HdlStimulusLine>& stimulus,
                            const std::vector<std::string>& comment)
{
    std::string text = CommentLines(comment);
    const std::vector<std::vector<HdlInteger>> segments = HdlModelOutputs(plan, stimulus);
    for (size_t s = 0; s < segments.size(); ++s) {
        if (s > 0)
            text += "reset\n";
        for (HdlInteger v : segments[s])
            text += HdlIntegerText(v) + "\n";
    }
    return text;
}
