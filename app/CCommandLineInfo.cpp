#include "app/CCommandLineInfo.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

void CCommandLineInfo::Parse(const std::vector<std::string>& args)
{
    for (const std::string& arg : args)
        if (!ParseSwitch(arg))
            ParseParam(arg);
}

bool CCommandLineInfo::ParseSwitch(const std::string& arg)
{
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-'))
        return false;
    const std::string name = Lower(arg.substr(1));
    if (name == "pt")
        m_nShellCommand = FilePrintTo;
    else if (name == "p")
        m_nShellCommand = FilePrint;
    else if (name == "dde")
        m_nShellCommand = FileDDE;
    else if (name == "register" || name == "regserver")
        m_nShellCommand = AppRegister;
    else if (name == "unregister" || name == "unregserver")
        m_nShellCommand = AppUnregister;
    else if (name == "embedding")
        m_bRunEmbedded = true;
    else if (name == "automation")
        m_bRunAutomated = true;
    else
        return arg[0] == '-';
    return true;
}

void CCommandLineInfo::ParseParam(const std::string& arg)
{
    if (m_strFileName.empty()) {
        m_strFileName = arg;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.empty())
            m_strPrinterName = arg;
        else if (m_strDriverName.empty())
            m_strDriverName = arg;
        else if (m_strPortName.empty())
            m_strPortName = arg;
    }
}
