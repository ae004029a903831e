#pragma once

#include <memory>
#include <vector>

#include "dsp/DesignKinds.h"
#include "dsp/RemezBand.h"
#include "form/DesignSnapshot.h"

class CZantroView;

// The designs made since the program started, for Edit > Undo and Redo:
// each with the form's parameters, the dialogs' answers, the document's
// band table and grid density, and the plots as the form showed them.
// Undo shows the design before the current one, Redo the one after; a new
// design after an Undo drops the ones that followed. At most kMaxDesigns
// are kept, the oldest going first.
class DesignHistory {
public:
    static constexpr size_t kMaxDesigns = 100;

    DesignHistory();
    ~DesignHistory();
    DesignHistory(const DesignHistory&) = delete;
    DesignHistory& operator=(const DesignHistory&) = delete;

    // The view shows a new design: it becomes the current entry.
    void Record(CZantroView& view);
    // The current entry takes the view's design value again (a requirement
    // set after the design).
    void Replace(const CZantroView& view);
    bool CanUndo() const { return m_nCurrent > 0; }
    bool CanRedo() const { return m_nCurrent + 1 < static_cast<int>(m_entries.size()); }
    // Puts the previous (next) design back into the form, its fields, the
    // document's parameters and the plots; false when there is none.
    bool Undo(CZantroView& view);
    bool Redo(CZantroView& view);
    int Count() const { return static_cast<int>(m_entries.size()); }
    // Index of the design the form shows, -1 before the first.
    int Current() const { return m_nCurrent; }

private:
    struct Entry;
    void Show(CZantroView& view, Entry& entry);

    std::vector<std::unique_ptr<Entry>> m_entries;
    int m_nCurrent = -1;
};
