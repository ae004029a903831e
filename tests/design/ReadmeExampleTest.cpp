#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "TestPaths.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

// The README shows examples/DesignExample.cpp, which the build compiles and
// the tests run; the two must not drift apart.
TEST(ReadmeExample, IsTheProgramTheBuildCompiles)
{
    const std::string readme = Slurp(TestSourceDir() + "/README.md");
    const std::string example = Slurp(TestSourceDir() + "/examples/DesignExample.cpp");
    ASSERT_FALSE(example.empty());
    EXPECT_NE(readme.find("```cpp\n" + example + "```\n"), std::string::npos);
}
