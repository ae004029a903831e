#include "form/FileCommands.h"

#include "form/CZantroView.h"
#include "document/CZantroDoc.h"

void NewDocument(CZantroDoc& doc, CZantroView& view)
{
    if (doc.OnNewDocument())
        view.OnInitialUpdate(true);
}

bool OpenDocument(CZantroDoc& doc, CZantroView& view, const std::string& path)
{
    if (!doc.OnOpenDocument(path, &view))
        return false;
    view.OnInitialUpdate(false);
    view.DesignQuietly();
    return true;
}

bool SaveDocument(CZantroDoc& doc, CZantroView& view, const std::string& path)
{
    return doc.OnSaveDocument(path, &view);
}
