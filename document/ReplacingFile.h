#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <string>

// The new version of one file, written to a temporary file in the target's
// own folder and put in the target's place by a rename only when it is
// complete and on the disk, so a failure at any step leaves the previous
// file as it was, byte for byte.
//
// Open, write through Stream(), Close, Commit. Each step returns false with
// Errno() set on failure; the temporary file is removed by Discard() or by
// the destructor unless Commit succeeded. Two files that must change
// together (a header and its source) are both written and closed before
// either is committed.
class ReplacingFile {
public:
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Opens the target's folder and creates the temporary file in it, with
    // the mode of the file it replaces (0666 less the umask for a new file):
    // an unnamed file (O_TMPFILE) where the file system allows, which gets
    // its hidden name only at Commit, else a new hidden file. Refuses a
    // target that exists and is not a regular file (EISDIR for a folder,
    // EINVAL for devices, FIFOs and sockets) or that may not be written
    // (EACCES, EROFS).
    bool Open();
    // The temporary file's stream, between Open and Close.
    std::FILE* Stream() const { return m_pStream; }
    // Writes text in full.
    bool Write(const std::string& text);
    // Flushes the stream, syncs the file to the disk and closes it.
    bool Close();
    // Names the closed temporary file if it had no name yet, renames it over
    // the target and syncs the folder. Fails (ENOENT) when the folder no
    // longer is at the target's path.
    bool Commit();
    // Removes the temporary file; the target is not touched.
    void Discard();

    int Errno() const { return m_nErrno; }
    const std::filesystem::path& Target() const { return m_target; }
    // Name of the temporary file inside the target's folder; empty while it
    // has none (before Open, and for an unnamed file before Commit).
    const std::string& TemporaryName() const { return m_strTempName; }

    // "." + name + ".XXXXXXXX.tmp" with name shortened at its end so the
    // whole fits in maxName bytes (the folder's file-name limit).
    static std::string TemporaryNameFor(const std::string& name, unsigned random, long maxName);

private:
    bool Fail(int err);
    // Gives the unnamed file its temporary name.
    bool LinkTemporary();
    void CloseUnnamed();

    std::filesystem::path m_target;
    std::filesystem::path m_folder;
    std::string m_strName;
    std::string m_strTempName;
    int m_nDirFd = -1;
    int m_nFd = -1;  // the unnamed file, kept open until it is named
    long m_nMaxName = 0;
    dev_t m_nFolderDev = 0;
    ino_t m_nFolderIno = 0;
    std::FILE* m_pStream = nullptr;
    bool m_bCreated = false;
    bool m_bCommitted = false;
    int m_nErrno = 0;
};
