#pragma once

#include <string>
#include <vector>

class QSettings;

// The most recently used documents, most recent first, at most GetSize()
// of them. Kept in the settings store as "Recent File List"/"File1"..
// "FileN"; the menu shows each path cut to 30 characters.
class CRecentFileList {
public:
    static constexpr int kMenuChars = 30;

    explicit CRecentFileList(int size);

    // Puts path first; an entry for the same path moves up instead of repeating.
    void Add(const std::string& path);
    void Remove(int index);
    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const std::string& operator[](int index) const { return m_entries[static_cast<size_t>(index)]; }

    // The menu entry of index: "&1 " and the path cut to 30 characters,
    // with any '&' of the path doubled.
    std::string MenuText(int index) const;

    // path when it has at most maxChars characters; else its root, "..."
    // and as many trailing folders as fit, or the file name alone when not
    // even one folder fits (the name is never cut).
    static std::string AbbreviateName(const std::string& path, int maxChars);

    void ReadList(QSettings& settings);
    void WriteList(QSettings& settings) const;

private:
    int m_nSize;
    std::vector<std::string> m_entries;
};
