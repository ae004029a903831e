#pragma once

#include <string>
#include <vector>

#include "document/ExportProfile.h"

class CWnd;

// The texts of an export and the command that writes them.

struct ExportFile {
    std::string path;
    std::string text;
};

// C profiles: the header <root>.h (the reviewer's comment, the macros and
// the array's declaration) and the source <root>.c that defines the array
// and includes the header by its file name (both sit in the root's folder).
std::string CExportHeaderText(const ExportDesign& design, const ExportOptions& options, const ExportWords& words);
std::string CExportSourceText(const ExportDesign& design, const ExportOptions& options, const ExportWords& words);
// Both, with their paths.
std::vector<ExportFile> CExportFiles(const ExportDesign& design, const ExportOptions& options,
                                     const ExportWords& words);

// One tap a line, shortest text that reads back as the same double.
std::string CsvExportText(const ExportDesign& design, const ExportOptions& options, const ExportWords& words);
// {"program", "profile", "summary", "taps", "parameters", "analysis"}.
std::string JsonExportText(const ExportDesign& design, const ExportOptions& options, const ExportWords& words);
// Xilinx coefficient file: ";" comments, radix=10; coefdata= the words.
std::string CoeExportText(const ExportDesign& design, const ExportOptions& options, const ExportWords& words);
// VHDL-93 package <name>_pkg: width, tap count, fraction bits and a
// constant array of integers in the word's range, natural order.
std::string VhdlExportText(const ExportDesign& design, const ExportOptions& options, const ExportWords& words);
// Verilog-2001 include: localparams for width, tap count, fraction bits and
// the taps as one vector, tap k at bits [k*WIDTH +: WIDTH].
std::string VerilogExportText(const ExportDesign& design, const ExportOptions& options, const ExportWords& words);

// The files of one export in writing order (ExportFilePaths), by the
// profile's writer.
std::vector<ExportFile> BuildExportFiles(const ExportDesign& design, const ExportOptions& options,
                                         const ExportWords& words);

// The VHDL identifier of a root: its C identifier without leading,
// trailing or doubled underscores.
std::string VhdlName(const std::string& root);

// Writes every file through a temporary file beside it (ReplacingFile:
// names within the file-name limit, links written through), renaming them
// only when all are complete, so a failure leaves the old files as they were.
// On failure the path that could not be written is returned in failedPath,
// and opened tells whether it could at least be created.
bool WriteFilesReplacing(const std::vector<ExportFile>& files, std::string& failedPath, bool& opened);

// The command: checks the options (root, word length, block size, finite
// taps, CMSIS fixed point taps within +-1.0), then writes the files. Every
// refusal and failure is a message through msgOwner (none when null).
bool WriteExport(const ExportDesign& design, const ExportOptions& options, CWnd* msgOwner);
