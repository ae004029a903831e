#pragma once

#include "design/CFilPar.h"

class CArchive;

// The one document: owns the parameter set and the modified flag.
class CZantroDoc {
public:
    CZantroDoc() = default;
    virtual ~CZantroDoc() = default;
    CZantroDoc(const CZantroDoc&) = delete;
    CZantroDoc& operator=(const CZantroDoc&) = delete;

    virtual void Serialize(CArchive& ar) { m_FilPar.Serialize(ar); }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    CFilPar m_FilPar;

private:
    bool m_bModified = false;
};
