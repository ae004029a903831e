#include "design/CFilPar.h"
#include "remez/CPoints.h"

// The ".fir" byte format arrives with the document format; until then
// nothing is read or written.
void CPoints::Serialize(CArchive&) {}
void CFilPar::Serialize(CArchive&) {}
