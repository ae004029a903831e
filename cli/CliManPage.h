#pragma once

#include <string>

namespace CLI {
class App;
}

// The manual page zantro-cli(1) from its template and the options the
// command line takes: the template's line "@OPTIONS@" becomes one tagged
// paragraph per option of app, in the order --help lists them, with the
// value name and the text --help prints, so the two never disagree. Text is
// escaped for groff (backslashes, hyphens as \-, a leading dot or quote).
std::string FillManPage(const std::string& templateText, const CLI::App& app);

// One line of text as groff prints it literally.
std::string GroffText(const std::string& text);
