#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Opens path for reading in binary mode without ever blocking: a FIFO or a
// device is opened non-blocking and refused before a byte is read, so only
// regular files, whose size bounds the reading, reach the caller.
// Returns nullptr with errno set when the file cannot be opened (the open's
// own errno), is a folder (EISDIR) or is anything else but a regular file
// (EINVAL). size receives the file's length in bytes.
std::FILE* OpenRegularFile(const std::string& path, std::uint64_t& size);
