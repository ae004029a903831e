#include "document/CZantroDoc.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <random>

#include "document/CArchive.h"
#include "document/DocumentMessages.h"
#include "platform/CWnd.h"
#include "platform/DataExchange.h"
#include "platform/FileHandle.h"

namespace fs = std::filesystem;

namespace {

std::string TitleOf(const std::string& path)
{
    std::string name = fs::path(path).filename().string();
    return name.empty() ? path : name;
}

// The platform's text for a file error, or fallback for errors it has none for.
std::string FileErrorText(int err, const std::string& title, const char* fallback)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return FillPlaceholders(kMsgFileNotFound, {title});
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return FillPlaceholders(kMsgAccessDenied, {title});
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FillPlaceholders(kMsgDiskFull, {title});
    default:
        return fallback;
    }
}

void Report(CWnd* msgOwner, const std::string& text)
{
    if (msgOwner)
        msgOwner->MessageBox(text, MB_ICONEXCLAMATION);
}

// A new, exclusive file in folder; nullptr with errno set when none can be made.
std::FILE* CreateTemporary(const fs::path& folder, const std::string& stem, fs::path& tempPath)
{
    std::random_device rd;
    for (int attempt = 0; attempt < 64; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
        tempPath = folder / ("." + stem + suffix);
        errno = 0;
        if (std::FILE* f = std::fopen(tempPath.string().c_str(), "wbx"))
            return f;
        if (errno != EEXIST)
            return nullptr;
    }
    errno = EEXIST;
    return nullptr;
}

}  // namespace

bool CZantroDoc::OnNewDocument()
{
    m_strPathName.clear();
    m_bModified = false;
    return true;
}

std::string CZantroDoc::GetTitle() const
{
    return m_strPathName.empty() ? std::string(kUntitled) : TitleOf(m_strPathName);
}

std::string CZantroDoc::WithDefaultExtension(const std::string& name)
{
    return fs::path(name).has_extension() ? name : name + kDocExtension;
}

bool CZantroDoc::OnOpenDocument(const std::string& path, CWnd* msgOwner)
{
    if (path.empty()) {
        Report(msgOwner, kMsgFailedToOpen);
        return false;
    }
    const std::string title = TitleOf(path);
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) {
        Report(msgOwner, FileErrorText(EISDIR, title, kMsgFailedToOpen));
        return false;
    }
    errno = 0;
    const FileHandle f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        Report(msgOwner, FileErrorText(errno, title, kMsgFailedToOpen));
        return false;
    }
    // Devices and pipes have no length to check the file's counts against.
    std::uintmax_t length = fs::is_regular_file(status) ? fs::file_size(path, ec) : 0;
    if (!fs::is_regular_file(status) || ec) {
        Report(msgOwner, kMsgFailedToOpen);
        return false;
    }

    // Read into a fresh set so a failure leaves the document as it was. The
    // points are carried over because a file without a point block keeps them.
    CFilPar fresh;
    fresh.m_InputData.Copy(m_FilPar.m_InputData);
    bool failed = false;
    std::string failure;
    if (length != 0) {
        CArchive ar(CArchive::load, f.get(), length);
        try {
            fresh.Serialize(ar);
        } catch (const std::bad_alloc&) {
            failed = true;
            failure = kMsgFailedToOpen;
        }
        if (!failed && ar.IsFailed()) {
            failed = true;
            failure = ar.IsFormatError() ? std::string(kMsgUnexpectedFormat)
                                         : FileErrorText(ar.GetErrno(), title, kMsgFailedToOpen);
        }
    }
    if (failed) {
        Report(msgOwner, failure);
        return false;
    }

    if (length != 0)
        m_FilPar = std::move(fresh);
    m_strPathName = path;
    m_bModified = false;
    return true;
}

bool CZantroDoc::OnSaveDocument(const std::string& path, CWnd* msgOwner)
{
    if (path.empty()) {
        Report(msgOwner, kMsgFailedToSave);
        return false;
    }
    const std::string title = TitleOf(path);
    std::error_code ec;
    fs::path target(path);
    // Saving through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    if (fs::is_directory(target, ec)) {
        Report(msgOwner, FileErrorText(EISDIR, title, kMsgFailedToSave));
        return false;
    }
    // The rename below would replace a file we may not write; refuse it as
    // opening it for writing would.
    if (fs::exists(target, ec)) {
        errno = 0;
        std::FILE* existing = std::fopen(target.string().c_str(), "r+b");
        if (!existing) {
            Report(msgOwner, FileErrorText(errno, title, kMsgFailedToSave));
            return false;
        }
        std::fclose(existing);
    }
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    fs::path tempPath;
    std::FILE* f = CreateTemporary(folder, target.filename().string(), tempPath);
    if (!f) {
        Report(msgOwner, FileErrorText(errno, title, kMsgFailedToSave));
        return false;
    }
    CArchive ar(CArchive::store, f);
    Serialize(ar);
    int err = ar.IsFailed() ? ar.GetErrno() : 0;
    bool failed = ar.IsFailed();
    errno = 0;
    if (std::fflush(f) != 0 && !failed) {
        failed = true;
        err = errno;
    }
    errno = 0;
    if (std::fclose(f) != 0 && !failed) {
        failed = true;
        err = errno;
    }
    if (!failed) {
        fs::file_status old = fs::status(target, ec);
        if (fs::exists(old))
            fs::permissions(tempPath, old.permissions(), ec);
        fs::rename(tempPath, target, ec);
        if (ec) {
            failed = true;
            err = ec.value();
        }
    }
    if (failed) {
        fs::remove(tempPath, ec);
        Report(msgOwner, FileErrorText(err, title, kMsgFailedToSave));
        return false;
    }
    m_strPathName = path;
    m_bModified = false;
    return true;
}
