#include "document/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

std::FILE* OpenRegularFile(const std::string& path, std::uint64_t& size)
{
    size = 0;
    // Without O_NONBLOCK opening a FIFO waits for a writer forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat st;
    int err = 0;
    if (::fstat(fd, &st) != 0)
        err = errno;
    else if (S_ISDIR(st.st_mode))
        err = EISDIR;
    else if (!S_ISREG(st.st_mode))
        err = EINVAL;
    if (err == 0) {
        // Reads of a regular file never block; clear the flag all the same
        // so the stream behaves as any other.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        if (std::FILE* f = ::fdopen(fd, "rb")) {
            size = static_cast<std::uint64_t>(st.st_size);
            return f;
        }
        err = errno;
    }
    ::close(fd);
    errno = err;
    return nullptr;
}
