#pragma once

#include <sstream>
#include <string>
#include <vector>

// The integers of a c-fixed source's coefficient array ("= { ... };").
inline std::vector<long long> CFixedWords(const std::string& source)
{
    std::vector<long long> words;
    std::istringstream in(source.substr(source.find("= {") + 3));
    for (std::string item; std::getline(in, item, ',');) {
        words.push_back(std::stoll(item));
        if (item.find("};") != std::string::npos)
            break;
    }
    return words;
}
