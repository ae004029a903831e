#pragma once

#include <string>

#include "platform/CWnd.h"
#include "platform/ScriptedHost.h"

// The owner of the message boxes of a document command (open, save,
// export): nothing is shown, the texts are kept, so the module can raise
// them as DesignError. The document layer reports through a window and its
// host, and the scripted host is the one that only records.
class MessageCatcher {
public:
    MessageCatcher() { m_owner.SetHost(&m_host); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    CWnd* Owner() { return &m_owner; }
    // The messages shown so far, one a line; fallback when there was none.
    std::string Text(const std::string& fallback) const;

private:
    ScriptedHost m_host;
    CWnd m_owner;
};
