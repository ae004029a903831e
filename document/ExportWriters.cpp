#include "document/ExportWriters.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "document/DocumentMessages.h"
#include "document/ExportProfileTraits.h"
#include "document/MultirateExport.h"
#include "platform/CWnd.h"

namespace {

std::string WithPath(const char* format, const std::string& path)
{
    std::string text = format;
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.replace(at, 2, path);
}

// One file written in full beside its final path; "" when it could not
// be created, and written = false when a write or the flush failed.
std::string WriteTemporary(const ExportFile& file, bool& written)
{
    std::string name = file.path + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    written = false;
    if (fd < 0)
        return {};
    // mkstemp makes the file private; the export gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        return name;
    }
    written = std::fwrite(file.text.data(), 1, file.text.size(), f) == file.text.size();
    written = std::fflush(f) == 0 && written;
    written = ::fsync(::fileno(f)) == 0 && written;
    written = std::fclose(f) == 0 && written;
    return name;
}

}  // namespace

std::vector<ExportFile> BuildExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return TraitsOf(o.profile).writer(d, o, w);
}

bool WriteFilesReplacing(const std::vector<ExportFile>& files, std::string& failedPath, bool& opened)
{
    std::vector<std::string> temporaries;
    auto discard = [&temporaries] {
        for (const std::string& t : temporaries)
            std::remove(t.c_str());
    };
    for (const ExportFile& file : files) {
        bool written = false;
        const std::string temporary = WriteTemporary(file, written);
        if (!temporary.empty())
            temporaries.push_back(temporary);
        if (!written) {
            failedPath = file.path;
            opened = !temporary.empty();
            discard();
            return false;
        }
    }
    // Refuse what a rename would fail on before any file is replaced.
    for (const ExportFile& file : files) {
        std::error_code ec;
        if (std::filesystem::is_directory(file.path, ec)) {
            failedPath = file.path;
            opened = true;
            discard();
            return false;
        }
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (std::rename(temporaries[i].c_str(), files[i].path.c_str()) != 0) {
            failedPath = files[i].path;
            opened = true;
            temporaries.erase(temporaries.begin(), temporaries.begin() + static_cast<std::ptrdiff_t>(i));
            discard();
            return false;
        }
    }
    return true;
}

bool WriteExport(const ExportDesign& d, const ExportOptions& o, CWnd* msgOwner)
{
    auto refuse = [msgOwner](const std::string& text) {
        if (msgOwner)
            msgOwner->MessageBox(text, MB_OK);
        return false;
    };
    if (o.root.empty())
        return refuse(kMsgExportNoRoot);
    if (TakesWordLength(o.profile) && (o.wordLength < 2 || o.wordLength > 32))
        return refuse(kMsgExportWordLength);
    if (TakesBlock(o.profile) && (o.blockSize < kMinExportBlockSize || o.blockSize > kMaxExportBlockSize))
        return refuse(kMsgExportBlockSize);
    if (TakesFilterOptions(o.profile) && (o.inputBits < kMinHdlInputBits || o.inputBits > kMaxHdlInputBits))
        return refuse(kMsgExportWordLength);
    if (TakesFilterOptions(o.profile) && o.outputBits != 0 &&
        (o.outputBits < kMinHdlOutputBits || o.outputBits > kMaxHdlOutputBits))
        return refuse(kMsgExportOutputBits);
    double peak = 0.0;
    for (double t : d.taps) {
        if (!std::isfinite(t))
            return refuse(kMsgExportNonFinite);
        peak = std::max(peak, std::abs(t));
    }
    if (d.taps.empty())
        return refuse(kMsgNoDesign);
    if (TraitsOf(o.profile).family == ExportFamily::Multirate)
        if (const std::string why = CheckMultirateExport(d, d.multirate, MultirateOptionsOf(o)); !why.empty())
            return refuse(why);
    // The CMSIS words hold -1.0 .. 1.0; a larger tap would be clipped silently.
    if (TraitsOf(o.profile).wordRule == ExportWordRule::Fixed && peak > 1.0)
        return refuse(kMsgValuesAboveOne);

    const ExportWords words = ComputeExportWords(d, o);
    std::string failedPath;
    bool opened = false;
    if (!WriteFilesReplacing(BuildExportFiles(d, o, words), failedPath, opened))
        return refuse(WithPath(opened ? kMsgCannotWriteFile : kMsgCannotOpenFile, failedPath));
    return true;
}
