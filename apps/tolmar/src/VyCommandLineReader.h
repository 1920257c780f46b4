#pragma once

#include <optional>
#include <vector>

#include "VyStartRequest.h"

// "1 to 6, or Beginner, Easy, Intermediate, Hard, Advanced or Expert"
VyString VyLevelChoices();

// One reading of the game's command line, left to right, into a request (VyCommandLine::Parse uses
// it; the rules of what is read and refused are VyCommandLine's). Nothing fails: what cannot be
// followed ends the reading with REFUSE and the reason.
class VyCommandLineReader
{
public:
    VyCommandLineReader(const std::vector<VyString>& words, const VyString& currentDirectory);
    VyStartRequest Read();

private:
    void ReadWord(const VyString& word);
    void ReadOption(const VyString& name, const std::optional<VyString>& attached);
    // An option without a value: --human, --serve, --chat-each-move, --help, -h or --version; any
    // other is unknown.
    void ReadSwitch(const VyString& name, const std::optional<VyString>& attached);

    // The value written after '=', else the next word unless it is an option.
    std::optional<VyString> TakeValue(const std::optional<VyString>& attached);
    void ReadComputer(const std::optional<VyString>& value);
    void ReadAutoplay(const std::optional<VyString>& value);
    void ReadJoin(const std::optional<VyString>& value);
    void ReadPort(const std::optional<VyString>& value);
    void ReadName(const std::optional<VyString>& value);
    void ReadQuitAfterFrames(const std::optional<VyString>& value);
    void ReadGames(const std::optional<VyString>& value);
    void ReadChatEachMove();
    void SetOpponent(VyStartOpponent opponent);
    // After the last word: --port and --name belong to a network game.
    void CheckNetworkOptions();
    // After the last word: --games and --chat-each-move need --autoplay, --chat-each-move a network game.
    void CheckUnattendedOptions();
    void AddFile(const VyString& file);

    // ".." and links stay as they are: the path means the same from any folder.
    VyString Absolute(const VyString& file) const;
    void Refuse(const VyString& reason);

    const std::vector<VyString>& m_words;
    const VyString& m_currentDirectory;
    size_t m_next = 0;
    bool m_bFilesOnly = false;
    VyStartRequest m_request;
};
