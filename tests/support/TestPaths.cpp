#include "TestPaths.h"

const std::string& TestSourceDir()
{
    static const std::string dir = ZANTRO_SOURCE_DIR;
    return dir;
}

const std::string& TestCliPath()
{
    static const std::string path = ZANTRO_CLI_PATH;
    return path;
}
