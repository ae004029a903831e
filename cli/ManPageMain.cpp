#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/CliParser.h"

// zantro-cli-manpage TEMPLATE: prints zantro-cli(1), the template with the
// options zantro-cli takes and their --help texts.
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: zantro-cli-manpage TEMPLATE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "zantro-cli-manpage: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    try {
        std::cout << CliParser::ManPage(text.str());
    } catch (const std::exception& e) {
        std::cerr << "zantro-cli-manpage: " << e.what() << '\n';
        return 1;
    }
    return std::cout ? 0 : 1;
}
