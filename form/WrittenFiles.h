#pragma once

#include <string>
#include <vector>

// The status-bar text after a command wrote files: "Wrote A", "Wrote A and
// B"; each path made absolute (a relative root lands in the working folder,
// so the folder is named).
std::string WrittenFilesText(const std::vector<std::string>& paths);
