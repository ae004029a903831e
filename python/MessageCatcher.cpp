#include "python/MessageCatcher.h"

std::string MessageCatcher::Text(const std::string& fallback) const
{
    std::string text;
    for (const ScriptedHost::Message& m : m_host.Messages())
        text += (text.empty() ? "" : "\n") + m.text;
    return text.empty() ? fallback : text;
}
