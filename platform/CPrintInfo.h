#pragma once

#include "platform/DrawContext.h"

// What the printing framework tells the view about a print job: the page
// range, the page being drawn and its drawing rectangle in device units
// (left and top 0, right and bottom the page's width and height).
struct CPrintInfo {
    void SetMinPage(int page) { m_nMinPage = page; }
    void SetMaxPage(int page) { m_nMaxPage = page; }
    int GetMinPage() const { return m_nMinPage; }
    int GetMaxPage() const { return m_nMaxPage; }

    int m_nMinPage = 1;
    int m_nMaxPage = 1;
    int m_nCurPage = 1;         // 1-based
    Rect m_rectDraw;            // device units
};
