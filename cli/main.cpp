#include <exception>
#include <iostream>

#include "cli/CliApp.h"

int main(int argc, char** argv)
{
    // The form ends its own commands on an exception; anything beyond them
    // still ends the run with a message and status 1, never an abort.
    try {
        return RunCli(argc, argv, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "zantro-cli: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "zantro-cli: the command could not be completed\n";
    }
    return 1;
}
