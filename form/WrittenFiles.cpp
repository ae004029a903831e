#include "form/WrittenFiles.h"

#include <filesystem>
#include <system_error>

namespace {

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

}  // namespace

std::string WrittenFilesText(const std::vector<std::string>& paths)
{
    std::string text = "Wrote";
    for (size_t i = 0; i < paths.size(); ++i) {
        text += i == 0 ? " " : (i + 1 == paths.size() ? " and " : ", ");
        text += FullPath(paths[i]);
    }
    return text;
}
