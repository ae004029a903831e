#pragma once

// Texts of the frequency-sampling design, the band dialog and
// the Remez design command.
inline constexpr const char* kMsgNoInputData = "No input data available.\nPlease read file first.";
inline constexpr const char* kMsgTooFewPoints =
    "A frequency sampling design needs at least 2 input points.\nPlease read another file.";

inline constexpr const char* kMsgEdgeAboveHalf = "Edge frequencies must be <= fs/2.";
inline constexpr const char* kMsgEdgeOrder = "Edge frequencies must be in ascending order.";
inline constexpr const char* kMsgEdgesEqual = "Lower and upper edge frequencies must not be equal.";
inline constexpr const char* kMsgDiffValueRange = "Values must be in the range from 0.10 to 3.20.";
inline constexpr const char* kMsgValueRange = "Values must be in the range from 0.00 to 1.00.";
inline constexpr const char* kMsgWeightRange = "Weight must be in the range from 1.00 to 100.00.";
inline constexpr const char* kMsgNoBand = "You must specify at least one band";

inline constexpr const char* kMsgRemezPasses = "The Remez algorithm took %3d iterations to converge.";
inline constexpr const char* kMsgRemezNoConvergence = "The Remez algorithm did not converge.";
