#include "document/CZantroDoc.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>

#include "document/CArchive.h"
#include "document/DocumentMessages.h"
#include "document/RegularFile.h"
#include "document/ReplacingFile.h"
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
    std::uint64_t length = 0;
    errno = 0;
    const FileHandle f(OpenRegularFile(path, length));
    if (!f) {
        // Folders read as access denied; devices, FIFOs and sockets have no
        // document to read.
        Report(msgOwner, FileErrorText(errno, title, kMsgFailedToOpen));
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
    ReplacingFile file{fs::path(path)};
    bool written = file.Open();
    if (written) {
        CArchive ar(CArchive::store, file.Stream());
        Serialize(ar);
        written = !ar.IsFailed() && file.Close() && file.Commit();
        if (ar.IsFailed()) {
            Report(msgOwner, FileErrorText(ar.GetErrno(), title, kMsgFailedToSave));
            return false;
        }
    }
    // The temporary file, if any, goes with file.
    if (!written) {
        Report(msgOwner, FileErrorText(file.Errno(), title, kMsgFailedToSave));
        return false;
    }
    m_strPathName = path;
    m_bModified = false;
    return true;
}
