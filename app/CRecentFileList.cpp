#include "app/CRecentFileList.h"

#include <QSettings>
#include <algorithm>

namespace {

constexpr const char* kSection = "Recent File List";

}  // namespace

CRecentFileList::CRecentFileList(int size) : m_nSize(size)
{
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (GetCount() > m_nSize)
        m_entries.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetCount())
        m_entries.erase(m_entries.begin() + index);
}

std::string CRecentFileList::AbbreviateName(const std::string& path, int maxChars)
{
    const auto length = [](const std::string& s) { return static_cast<int>(s.size()); };
    if (length(path) <= maxChars)
        return path;
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string root = !path.empty() && path[0] == '/' ? "/" : "";
    if (length(root) + 4 + length(name) > maxChars)
        return name;
    // Drop leading folders until root + ".../" + the rest fits.
    for (size_t pos = path.find('/', root.size()); pos != std::string::npos; pos = path.find('/', pos + 1)) {
        std::string candidate = root + ".../" + path.substr(pos + 1);
        if (length(candidate) <= maxChars)
            return candidate;
    }
    return name;
}

std::string CRecentFileList::MenuText(int index) const
{
    std::string shown;
    for (char ch : AbbreviateName((*this)[index], kMenuChars)) {
        shown += ch;
        if (ch == '&')
            shown += '&';
    }
    // Appended piece by piece: "&" + std::string trips GCC 12's -Wrestrict.
    std::string text = "&";
    text += std::to_string(index + 1);
    text += ' ';
    text += shown;
    return text;
}

void CRecentFileList::ReadList(QSettings& settings)
{
    m_entries.clear();
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= m_nSize; ++i) {
        const std::string path = settings.value(QStringLiteral("File%1").arg(i)).toString().toStdString();
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(path);
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const
{
    settings.beginGroup(QLatin1String(kSection));
    for (int i = 1; i <= m_nSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= GetCount())
            settings.setValue(key, QString::fromStdString((*this)[i - 1]));
        else
            settings.remove(key);
    }
    settings.endGroup();
}
