#pragma once

#include <string>

// A print command of the frame or the command line, handed to the
// application's print handler.
struct PrintRequest {
    enum Kind {
        Dialog,   // File > Print: the print dialog, then the report
        Direct,   // "/p": the default printer, no dialog
        PrintTo,  // "/pt": the named printer, no dialog
        Preview,  // File > Print Preview
        Setup,    // File > Print Setup
    } kind = Dialog;
    std::string printer;  // PrintTo only
    std::string driver;
    std::string port;
};
