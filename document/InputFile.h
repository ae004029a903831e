#pragma once

#include <string>

class CPoints;
class CWnd;

// At most this many points are read from an input data file.
inline constexpr int kMaxInputPoints = 512;

// The file-open filter of Read File.
inline constexpr const char* kInputFileFilter = ".txt files (*.txt)|*.txt|All Files (*.*)|*.*||";

// Reads the input data text file at path: per line (a line longer than 63
// characters counts as several), the first token delimited by blanks,
// tabs, CR or LF, taken as its leading decimal number (0 when it has
// none). Returns the number of points, 1 .. 512, and replaces destination
// by exactly those points (value + 0i). Returns 0 and leaves destination
// unchanged when the file cannot be opened or read, holds more than 512
// points or holds no token at all; each of these shows its message through
// msgOwner. Anything but a regular file (a folder, a device, a FIFO) counts
// as a file that cannot be opened and is refused before a byte is read.
int ReadInputFile(const std::string& path, CPoints& destination, CWnd& msgOwner);

// The leading decimal number of text ([blanks] [sign] digits [. digits]
// [e [sign] digits]), independent of the locale; 0 when text does not start
// with one. Magnitudes beyond the double range give the largest finite
// value of that sign, below it 0. No infinity or NaN is ever returned.
double LeadingDecimal(const char* text);
