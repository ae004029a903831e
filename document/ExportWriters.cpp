#include "document/ExportWriters.h"

#include <cmath>
#include <filesystem>
#include <memory>

#include "document/DocumentMessages.h"
#include "document/ExportProfileTraits.h"
#include "document/MultirateExport.h"
#include "document/ReplacingFile.h"
#include "platform/CWnd.h"

namespace {

std::string WithPath(const char* format, const std::string& path)
{
    std::string text = format;
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.replace(at, 2, path);
}

// A root whose file name is empty ("sub/") or a folder's (".", "..") would
// write hidden files such as sub/.h.
bool NamesAFolder(const std::string& root)
{
    const std::string name = std::filesystem::path(root).filename().string();
    return name.empty() || name == "." || name == "..";
}

}  // namespace

std::vector<ExportFile> BuildExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return TraitsOf(o.profile).writer(d, o, w);
}

bool WriteFilesReplacing(const std::vector<ExportFile>& files, std::string& failedPath, bool& opened)
{
    // ReplacingFile, as Make File: temporaries named within the folder's
    // file-name limit, links written through to the files they name.
    std::vector<std::unique_ptr<ReplacingFile>> out;
    auto fail = [&](const std::string& path, bool wasOpened) {
        failedPath = path;
        opened = wasOpened;
        for (auto& file : out)
            file->Discard();
        return false;
    };
    for (const ExportFile& file : files) {
        out.push_back(std::make_unique<ReplacingFile>(file.path));
        if (!out.back()->Open())
            return fail(file.path, false);
    }
    for (size_t i = 0; i < files.size(); ++i)
        if (!out[i]->Write(files[i].text) || !out[i]->Close())
            return fail(files[i].path, true);
    // The header last: a source without its new header fails to compile
    // rather than compiling against a length it does not hold.
    for (size_t i = files.size(); i-- > 0;)
        if (!out[i]->Commit())
            return fail(files[i].path, true);
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
    if (NamesAFolder(o.root))
        return refuse(WithPath(kMsgExportRootFolder, o.root));
    if (TakesWordLength(o.profile) && (o.wordLength < 2 || o.wordLength > 32))
        return refuse(kMsgExportWordLength);
    if (TakesBlock(o.profile) && (o.blockSize < kMinExportBlockSize || o.blockSize > kMaxExportBlockSize))
        return refuse(kMsgExportBlockSize);
    if (TakesFilterOptions(o.profile) && (o.inputBits < kMinHdlInputBits || o.inputBits > kMaxHdlInputBits))
        return refuse(kMsgExportWordLength);
    if (TakesFilterOptions(o.profile) && o.outputBits != 0 &&
        (o.outputBits < kMinHdlOutputBits || o.outputBits > kMaxHdlOutputBits))
        return refuse(kMsgExportOutputBits);
    if (TakesFilterOptions(o.profile) && o.filter.architecture == HdlArchitecture::Folded &&
        (o.filter.clocksPerSample < kMinHdlClocksPerSample || o.filter.clocksPerSample > kMaxHdlClocksPerSample))
        return refuse(kMsgExportClocks);
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
    // Words sized for the pass band saturate or wrap where the response
    // rises above it, and unconverged taps hold no promised limit.
    if (TraitsOf(o.profile).numbers == ExportNumbers::Words)
        if (const std::string why = UnsoundFixedPointMessage(d); !why.empty())
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
