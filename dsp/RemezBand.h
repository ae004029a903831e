#pragma once

// One row of the Remez band table. Edges in Hz.
struct RemezBand {
    int m_bUse = 0;         // 1: the band takes part in the design
    int m_nLowerEdge = 0;   // Hz
    int m_nUpperEdge = 0;   // Hz
    double m_dValue = 0.0;  // desired magnitude, 0.00 .. 1.00
    double m_dWeight = 0.0; // error weight, above 0 (the band dialog takes 1.00 .. 100.00)
    bool operator==(const RemezBand&) const = default;
};
