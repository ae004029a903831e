#include "cli/CliManPage.h"

#include <CLI/CLI.hpp>

#include <stdexcept>

namespace {

constexpr const char* kOptionsMark = "@OPTIONS@\n";

// The value's name as the option declares it: CLI11 appends each
// validator's description to it after a colon, and value names such as
// LO:HI:VALUE:WEIGHT hold colons of their own.
std::string ValueName(const CLI::Option& option)
{
    std::string name = option.get_type_name();
    std::string suffix;
    for (int i = 0;; ++i) {
        const CLI::Validator* validator = nullptr;
        try {
            validator = const_cast<CLI::Option&>(option).get_validator(i);
        } catch (const CLI::OptionNotFound&) {
            break;
        }
        if (const std::string description = validator->get_description(); !description.empty())
            suffix += ":" + description;
    }
    if (!suffix.empty() && name.ends_with(suffix))
        name.erase(name.size() - suffix.size());
    return name;
}

std::string OptionParagraph(const CLI::Option& option)
{
    std::string names;
    for (const std::string& s : option.get_snames())
        names += (names.empty() ? "" : ", ") + GroffText("-" + s);
    for (const std::string& l : option.get_lnames())
        names += (names.empty() ? "" : ", ") + GroffText("--" + l);
    std::string text = ".TP\n";
    const std::string value = option.get_type_size() != 0 ? ValueName(option) : std::string();
    if (value.empty())
        text += ".B " + names + "\n";
    else
        text += ".BI \"" + names + " \" \"" + GroffText(value) + "\"\n";
    return text + GroffText(option.get_description()) + "\n";
}

}  // namespace

std::string GroffText(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else if (c == '"')
            out += "\\(dq";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string FillManPage(const std::string& templateText, const CLI::App& app)
{
    const size_t mark = templateText.find(kOptionsMark);
    if (mark == std::string::npos)
        throw std::runtime_error("the manual page's template has no line @OPTIONS@");
    std::string options;
    for (const CLI::Option* option : app.get_options())
        options += OptionParagraph(*option);
    const size_t rest = mark + std::char_traits<char>::length(kOptionsMark);
    return templateText.substr(0, mark) + options + templateText.substr(rest);
}
