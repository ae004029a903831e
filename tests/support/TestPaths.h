#pragma once

#include <string>

// Where the tests find the source tree (README, man pages, data files, the
// Python reference scripts) and the zantro-cli they run. The paths are
// compiled into one small object of their own, so every test file compiles
// the same in any clone and the compiler cache serves it from another.
const std::string& TestSourceDir();
const std::string& TestCliPath();
