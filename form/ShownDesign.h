#pragma once

#include <string>
#include <vector>

class CZantroView;

// Which design the form's plots show. After a Design that made nothing (a
// refusal, a cancelled dialog) the plots still hold the one before: they
// and the status bar say so, and Make File and Export name the design they
// write while the form's fields no longer describe it.
class ShownDesign {
public:
    // The plots' note while they show an earlier design than the form's fields.
    static constexpr const char* kPreviousNote = "Previous design";

    // A new design is on the plots: its fields and caption are kept, the notes go.
    void Designed(CZantroView& view);
    // Design made nothing: with a design on the plots, they get the note and
    // the status bar says which design they show.
    void NotDesigned(CZantroView& view);
    // Forgets the design (a new document): nothing is on the plots.
    void Clear(CZantroView& view);

    bool Any() const { return !m_strCaption.empty(); }
    // "Lowpass, 63 taps, Sync + Window, Hamming, fs 8000 Hz, corners 1000 and 3000 Hz"
    const std::string& Caption() const { return m_strCaption; }
    // True when the form's controls no longer show what was designed.
    bool DiffersFromForm(const CZantroView& view) const;
    // What Make File and Export add to their status text: "" while the form
    // shows the design, else " (the design on the plots: <caption>)".
    std::string WrittenNote(const CZantroView& view) const;

    // The caption of the design the view's members describe.
    static std::string CaptionOf(const CZantroView& view);
    // The texts and selections of the controls a design reads.
    static std::vector<std::string> FieldsOf(const CZantroView& view);

private:
    static void SetNotes(CZantroView& view, const std::string& note);

    std::vector<std::string> m_fields;
    std::string m_strCaption;
    bool m_bPreviousSaid = false;  // the status bar says the plots show the previous design
};
