#pragma once

#include <string>

class CZantroDoc;
class CZantroView;

// The File commands as the framework runs them: the document operation,
// then the form's initialisation. Messages are owned by the form. The
// desktop shell calls these after its file dialogs, zantro-cli directly.

// Program start and File > New: the document keeps its parameter set and
// the form applies the selected target filter to it.
void NewDocument(CZantroDoc& doc, CZantroView& view);
// File > Open: on success the form reloads every parameter from the file
// (no target filter) and designs it at once (CZantroView::DesignQuietly),
// so the plots, the coefficients and a printed report show the opened
// design; the document stays unmodified. On failure document and form stay
// as they were.
bool OpenDocument(CZantroDoc& doc, CZantroView& view, const std::string& path);
// File > Save / Save As: writes the document's parameter set to path.
bool SaveDocument(CZantroDoc& doc, CZantroView& view, const std::string& path);
