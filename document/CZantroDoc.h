#pragma once

#include <string>

#include "document/CFilPar.h"

class CArchive;
class CWnd;

// The one document: owns the parameter set, the path of its ".fir" file and
// the modified flag. Open and save are path based so the desktop shell (after
// its file dialog) and zantro-cli share them; failures are reported through
// message boxes owned by msgOwner (none shown when it is nullptr) and leave
// the document, and any file on disk, as they were.
class CZantroDoc {
public:
    CZantroDoc() = default;
    virtual ~CZantroDoc() = default;
    CZantroDoc(const CZantroDoc&) = delete;
    CZantroDoc& operator=(const CZantroDoc&) = delete;

    virtual void Serialize(CArchive& ar) { m_FilPar.Serialize(ar); }

    // File > New: keeps the parameter set; back to untitled, not modified.
    bool OnNewDocument();
    // Reads the file into a fresh parameter set and takes it over only when
    // every field was read; an empty file reads nothing and keeps the
    // current values. Input points survive a file without a point block.
    // Anything but a regular file is refused before a byte is read; more
    // than 512 stored points, or an infinite or NaN number, is "Unexpected
    // file format.".
    bool OnOpenDocument(const std::string& path, CWnd* msgOwner);
    // Writes a temporary file next to path and renames it over path once it
    // is complete and on the disk (ReplacingFile); the replaced file's mode
    // is kept, and a failure leaves path as it was and no temporary file.
    bool OnSaveDocument(const std::string& path, CWnd* msgOwner);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // Empty while untitled.
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }
    // The file name without its folder, "Untitled" for a new document.
    std::string GetTitle() const;

    // name, or name + ".fir" when its file name has no extension.
    static std::string WithDefaultExtension(const std::string& name);

    CFilPar m_FilPar;

private:
    bool m_bModified = false;
    std::string m_strPathName;
};
