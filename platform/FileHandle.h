#pragma once

#include <cstdio>
#include <memory>

// Closes a C stream when its owner goes out of scope. Writers that must
// know whether the close succeeded take the stream back with release() and
// close it themselves.
struct FileCloser {
    void operator()(std::FILE* file) const
    {
        if (file)
            std::fclose(file);
    }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;
