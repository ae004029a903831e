// The ".fir" reader: any bytes either open, and then design to finite taps
// or refuse with a message, or are refused with a message and leave the
// document exactly as it was.
#include "form/FileCommands.h"
#include "fuzz/FuzzSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = FuzzSession::ScratchFile("input.fir", data, size);
    FuzzSession s;
    const std::string before = s.DocumentBytes();
    if (!OpenDocument(s.doc, s.view, path)) {
        FuzzSession::Require(s.host.Messages().size() == 1, "a refused open shows one message");
        FuzzSession::Require(s.DocumentBytes() == before, "a refused open leaves the document as it was");
        FuzzSession::Require(s.doc.GetPathName().empty(), "a refused open keeps the document untitled");
        return 0;
    }
    FuzzSession::Require(s.doc.m_FilPar.m_InputData.m_nCount <= 512, "at most 512 points open");
    s.DesignAndCheck();
    return 0;
}
