#include "document/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

namespace fs = std::filesystem;

namespace {

// "." in front and ".XXXXXXXX.tmp" behind the name.
constexpr long kTempNameExtra = 14;
constexpr long kDefaultNameMax = 255;

}  // namespace

ReplacingFile::ReplacingFile(fs::path target) : m_target(std::move(target)) {}

ReplacingFile::~ReplacingFile()
{
    Discard();
    if (m_nDirFd >= 0)
        ::close(m_nDirFd);
}

bool ReplacingFile::Fail(int err)
{
    m_nErrno = err ? err : EIO;
    return false;
}

std::string ReplacingFile::TemporaryNameFor(const std::string& name, unsigned random, long maxName)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", random);
    const long room = maxName - kTempNameExtra;
    const size_t keep = room > 0 ? static_cast<size_t>(room) : 0;
    std::string temp(".");
    temp.append(name, 0, std::min(keep, name.size()));
    temp.append(suffix);
    return temp;
}

bool ReplacingFile::Open()
{
    // Writing through a link replaces the file it points to, not the link.
    std::error_code ec;
    if (fs::is_symlink(m_target, ec)) {
        fs::path resolved = fs::canonical(m_target, ec);
        if (!ec)
            m_target = resolved;
    }
    m_strName = m_target.filename().string();
    if (m_strName.empty() || m_strName == "." || m_strName == "..")
        return Fail(EISDIR);
    m_folder = m_target.parent_path();
    if (m_folder.empty())
        m_folder = ".";

    m_nDirFd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_nDirFd < 0)
        return Fail(errno);
    struct stat folder;
    if (::fstat(m_nDirFd, &folder) != 0)
        return Fail(errno);
    m_nFolderDev = folder.st_dev;
    m_nFolderIno = folder.st_ino;

    mode_t mode = 0666;
    struct stat old;
    const bool replacing = ::fstatat(m_nDirFd, m_strName.c_str(), &old, 0) == 0;
    if (replacing) {
        if (S_ISDIR(old.st_mode))
            return Fail(EISDIR);
        // A device or a FIFO would be replaced by a plain file; never do that.
        if (!S_ISREG(old.st_mode))
            return Fail(EINVAL);
        // The rename would replace a file we may not write; refuse it as
        // opening it for writing would.
        if (::faccessat(m_nDirFd, m_strName.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(errno);
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        return Fail(errno);
    }

    m_nMaxName = ::fpathconf(m_nDirFd, _PC_NAME_MAX);
    if (m_nMaxName <= 0)
        m_nMaxName = kDefaultNameMax;
    // Where the file system can, the temporary file has no name until it is
    // complete: a save killed half-way, or a folder made read-only before
    // the rename, then leaves nothing behind.
    int fd = ::openat(m_nDirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0) {
        m_nFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (m_nFd < 0) {
            const int err = errno;
            ::close(fd);
            return Fail(err);
        }
    } else if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
        std::random_device rd;
        for (int attempt = 0; attempt < 64 && fd < 0; ++attempt) {
            m_strTempName = TemporaryNameFor(m_strName, static_cast<unsigned>(rd()), m_nMaxName);
            fd = ::openat(m_nDirFd, m_strTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd < 0 && errno != EEXIST)
                return Fail(errno);
        }
        if (fd < 0)
            return Fail(EEXIST);
        m_bCreated = true;
    } else {
        return Fail(errno);
    }

    // The umask may have narrowed the replaced file's mode; widen it back
    // before anything is written, and keep the owner where we may.
    struct stat now;
    if (replacing && ::fstat(fd, &now) == 0) {
        if ((now.st_mode & 07777) != mode && ::fchmod(fd, mode) != 0) {
            const int err = errno;
            ::close(fd);
            return Fail(err);
        }
        if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
    }
    m_pStream = ::fdopen(fd, "wb");
    if (!m_pStream) {
        const int err = errno;
        ::close(fd);
        return Fail(err);
    }
    return true;
}

bool ReplacingFile::Write(const std::string& text)
{
    if (!m_pStream)
        return Fail(EBADF);
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_pStream) != text.size())
        return Fail(errno);
    return true;
}

bool ReplacingFile::Close()
{
    if (!m_pStream)
        return Fail(EBADF);
    std::FILE* f = m_pStream;
    m_pStream = nullptr;
    errno = 0;
    int err = 0;
    if (std::fflush(f) != 0)
        err = errno ? errno : EIO;
    else if (::fsync(::fileno(f)) != 0)
        err = errno;
    errno = 0;
    if (std::fclose(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    return err == 0 ? true : Fail(err);
}

bool ReplacingFile::Commit()
{
    if ((!m_bCreated && m_nFd < 0) || m_pStream || m_bCommitted)
        return Fail(EBADF);
    // A folder moved or replaced since Open would receive the file at a
    // place the user did not name.
    struct stat folder;
    if (::stat(m_folder.c_str(), &folder) != 0 || folder.st_dev != m_nFolderDev || folder.st_ino != m_nFolderIno)
        return Fail(ENOENT);
    if (m_nFd >= 0 && !LinkTemporary())
        return false;
    if (::renameat(m_nDirFd, m_strTempName.c_str(), m_nDirFd, m_strName.c_str()) != 0)
        return Fail(errno);
    m_bCommitted = true;
    CloseUnnamed();
    // The rename itself reaches the disk with the folder; the file is in
    // place whatever this reports.
    ::fsync(m_nDirFd);
    return true;
}

bool ReplacingFile::LinkTemporary()
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_nFd);
    std::random_device rd;
    for (int attempt = 0; attempt < 64; ++attempt) {
        m_strTempName = TemporaryNameFor(m_strName, static_cast<unsigned>(rd()), m_nMaxName);
        int linked = ::linkat(AT_FDCWD, self.c_str(), m_nDirFd, m_strTempName.c_str(), AT_SYMLINK_FOLLOW);
        // Without /proc the descriptor itself is linked (this needs a privilege).
        if (linked != 0 && errno == ENOENT)
            linked = ::linkat(m_nFd, "", m_nDirFd, m_strTempName.c_str(), AT_EMPTY_PATH);
        if (linked == 0) {
            m_bCreated = true;
            CloseUnnamed();
            return true;
        }
        if (errno != EEXIST) {
            const int err = errno;
            m_strTempName.clear();
            return Fail(err);
        }
    }
    m_strTempName.clear();
    return Fail(EEXIST);
}

void ReplacingFile::CloseUnnamed()
{
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
}

void ReplacingFile::Discard()
{
    if (m_pStream) {
        std::fclose(m_pStream);
        m_pStream = nullptr;
    }
    CloseUnnamed();
    if (m_bCreated && !m_bCommitted && m_nDirFd >= 0)
        ::unlinkat(m_nDirFd, m_strTempName.c_str(), 0);
    m_bCreated = false;
}
