#pragma once

#include <vector>

#include "vythread/VyString.h"

// Every chat line sent or received since the program started, oldest first, as shown: with its
// markup. It is never shortened (the Messages window lists all of it), and it holds nothing else
// (the connection's notices go to the message log alone).
//
// A line names its writer and then the text, both as typed: a '<' in them is doubled so that it
// shows as it is instead of starting a colour tag. Nothing here fails.
class VyChatHistory
{
public:
    // "<><yellow>" + name + ": <white>" + text: a line this side sent.
    static VyString SentLine(const VyString& name, const VyString& text);
    // "<><green>" + name + ": <white>" + text: a line the other side sent.
    static VyString ReceivedLine(const VyString& name, const VyString& text);
    // Text as markup shows it, letter for letter: every '<' doubled.
    static VyString Escaped(const VyString& text);

    void Append(const VyString& line) { m_lines.push_back(line); }
    const std::vector<VyString>& GetLines() const { return m_lines; }

private:
    static VyString Line(const char* nameColor, const VyString& name, const VyString& text);

    std::vector<VyString> m_lines;
};
