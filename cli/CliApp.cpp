#include "cli/CliApp.h"

#include <ostream>

int RunCli(int, const char* const*, std::ostream&, std::ostream& err)
{
    err << "zantro-cli: not ready\n";
    return 2;
}
