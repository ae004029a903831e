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

// docs/architecture.md shows examples/DesignExample.cpp, which the build
// compiles and the tests run; the two must not drift apart.
TEST(DocsExample, IsTheProgramTheBuildCompiles)
{
    const std::string page = Slurp(TestSourceDir() + "/docs/architecture.md");
    const std::string example = Slurp(TestSourceDir() + "/examples/DesignExample.cpp");
    ASSERT_FALSE(example.empty());
    EXPECT_NE(page.find("```cpp\n" + example + "```\n"), std::string::npos);
}
