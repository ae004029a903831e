#pragma once

#include <string>
#include <vector>

// The program's command line: a file name opens it; "/p file" prints it
// and ends; "/pt file printer driver port" prints it to that printer and
// ends; "/dde" waits for the desktop shell; "Register", "Regserver",
// "Unregister", "Unregserver", "Automation" and "Embedding" are
// recognised. Switches start with '/' or '-' and are matched ignoring
// case. Because file paths start with '/' here, a '/' argument is a switch
// only when it names one of these; anything else is a file name.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister };

    // args: the arguments after the program name.
    void Parse(const std::vector<std::string>& args);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;

private:
    // True when arg was a switch (known or, with '-', ignored).
    bool ParseSwitch(const std::string& arg);
    void ParseParam(const std::string& arg);
};
