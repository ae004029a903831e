// Read File: any text either gives 1..512 finite points, which then design
// by frequency sampling to finite taps, or is refused with a message and
// leaves the document's points as they were.
#include <cmath>

#include "document/InputFile.h"
#include "fuzz/FuzzSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = FuzzSession::ScratchFile("input.txt", data, size);
    FuzzSession s;
    s.host.SelectEntry(s.view, IDC_DESIGN_METHOD, DM_FREQUENCY_SAMPLING);
    s.host.SelectEntry(s.view, IDC_WINDOW_TYPE, WT_RECTANGULAR);
    CFilPar& par = s.doc.m_FilPar;
    par.m_InputData.SetSize(3);
    par.m_InputData[0] = Complex(1.0, 0.0);
    const std::string before = s.DocumentBytes();

    const int count = ReadInputFile(path, par.m_InputData, s.view);
    if (count == 0) {
        FuzzSession::Require(s.host.Messages().size() == 1, "a refused file shows one message");
        FuzzSession::Require(s.DocumentBytes() == before, "a refused file leaves the points as they were");
        return 0;
    }
    FuzzSession::Require(count <= kMaxInputPoints && par.m_InputData.m_nCount == count, "1..512 points");
    for (int i = 0; i < count; ++i)
        FuzzSession::Require(std::isfinite(par.m_InputData[i].real()) && par.m_InputData[i].imag() == 0.0,
                             "finite real points");
    par.m_bInputData = 1;
    s.DesignAndCheck();
    return 0;
}
