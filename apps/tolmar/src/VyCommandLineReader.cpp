#include "VyCommandLineReader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>

#include "VyCommandLine.h"
#include "VyGameTypes.h"

namespace
{
constexpr const char* QUIT_AFTER_FRAMES = "--quit-after-frames";
constexpr const char* GAMES = "--games";
constexpr const char* CHAT_EACH_MOVE = "--chat-each-move";
constexpr const char* HOST_CHOICES = "a host name or an IPv4 or IPv6 address";
constexpr int MAX_PORT = 65535;

// "1 to 6, or Beginner, Easy, Intermediate, Hard, Advanced or Expert"
VyString LevelChoicesText()
{
    const VyLevel first = std::begin(VY_ALL_LEVELS)[0];
    const VyLevel last = std::end(VY_ALL_LEVELS)[-1];
    VyString text = VyString::Format("%d to %d, or ", VyNumberOf(first), VyNumberOf(last));
    for (VyLevel level : VY_ALL_LEVELS)
    {
        if (level != first)
            text += level == last ? " or " : ", ";
        text += LevelName(level);
    }
    return text;
}

// Digits only, few enough to fit an int.
bool IsWholeNumber(const VyString& word)
{
    return !word.empty() && word.size() <= 9 &&
           std::all_of(word.begin(), word.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

VyString Quoted(const VyString& word)
{
    return "'" + word + "'";
}

// The port of a decimal number from 1 to MAX_PORT, written without a leading 0 (so that "010" is
// not taken for an octal 8 by one reader and a 10 by another); nothing for any other word.
std::optional<int> ParsePort(const VyString& word)
{
    if (!IsWholeNumber(word) || word[0] == '0' || word.ToInt() > MAX_PORT)
        return std::nullopt;
    return word.ToInt();
}

// A host name or an address has no blank bytes and does not begin with a dash: such a word is a
// mistake, not a host the network could look up.
bool CouldBeHost(const VyString& word)
{
    return word[0] != '-' && std::none_of(word.begin(), word.end(), VyString::IsBlank);
}

bool IsNetworkGame(VyStartOpponent opponent)
{
    return opponent == VyStartOpponent::SERVE || opponent == VyStartOpponent::JOIN;
}

// The option that asks for a kind of game; "" for NONE.
const char* OptionOf(VyStartOpponent opponent)
{
    switch (opponent)
    {
    case VyStartOpponent::HUMAN: return "--human";
    case VyStartOpponent::COMPUTER: return "--computer";
    case VyStartOpponent::SERVE: return "--serve";
    case VyStartOpponent::JOIN: return "--join";
    case VyStartOpponent::NONE: break;
    }
    return "";
}

// "--human and --computer cannot both be given", the options in the order of the help whatever the
// order on the command line.
VyString BothOpponentsText(VyStartOpponent one, VyStartOpponent other)
{
    const auto [first, second] = std::minmax(one, other);
    return VyString(OptionOf(first)) + " and " + OptionOf(second) + " cannot both be given";
}

// Why a saved game and a game of this kind cannot start together.
VyString SavedGameAndOpponentText(VyStartOpponent opponent)
{
    const VyString option = OptionOf(opponent);
    if (IsNetworkGame(opponent))
        return "a network game starts fresh: give a saved game or " + option + ", not both";
    return "a saved game names its own opponent: give it or " + option + ", not both";
}

} // namespace

VyCommandLineReader::VyCommandLineReader(const std::vector<VyString>& words, const VyString& currentDirectory)
    : m_words(words), m_currentDirectory(currentDirectory)
{
}

VyStartRequest VyCommandLineReader::Read()
{
    while (m_next < m_words.size() && m_request.action == VyStartAction::RUN)
        ReadWord(m_words[m_next++]);
    if (m_request.action == VyStartAction::RUN)
        CheckNetworkOptions();
    if (m_request.action == VyStartAction::RUN)
        CheckUnattendedOptions();
    return m_request;
}

void VyCommandLineReader::ReadWord(const VyString& word)
{
    if (m_bFilesOnly || word.empty() || word[0] != '-')
        AddFile(word);
    else if (word == "--")
        m_bFilesOnly = true;
    else if (word.rfind("--", 0) == 0 && word.find('=') != VyString::npos)
        ReadOption(word.substr(0, word.find('=')), word.substr(word.find('=') + 1));
    else
        ReadOption(word, std::nullopt);
}

void VyCommandLineReader::ReadOption(const VyString& name, const std::optional<VyString>& attached)
{
    if (name == "--computer")
        ReadComputer(TakeValue(attached));
    else if (name == "--autoplay")
        ReadAutoplay(TakeValue(attached));
    else if (name == "--join")
        ReadJoin(TakeValue(attached));
    else if (name == "--port")
        ReadPort(TakeValue(attached));
    else if (name == "--name")
        ReadName(TakeValue(attached));
    else if (name == QUIT_AFTER_FRAMES)
        ReadQuitAfterFrames(TakeValue(attached));
    else if (name == GAMES)
        ReadGames(TakeValue(attached));
    else
        ReadSwitch(name, attached);
}

void VyCommandLineReader::ReadSwitch(const VyString& name, const std::optional<VyString>& attached)
{
    if (name != "--human" && name != "--serve" && name != CHAT_EACH_MOVE && name != "--help" && name != "-h" &&
        name != "--version")
        Refuse("unknown option " + Quoted(name));
    else if (attached)
        Refuse("option " + Quoted(name) + " takes no value");
    else if (name == CHAT_EACH_MOVE)
        ReadChatEachMove();
    else if (name == "--human")
        SetOpponent(VyStartOpponent::HUMAN);
    else if (name == "--serve")
        SetOpponent(VyStartOpponent::SERVE);
    else
        m_request.action = name == "--version" ? VyStartAction::PRINT_VERSION : VyStartAction::PRINT_HELP;
}

std::optional<VyString> VyCommandLineReader::TakeValue(const std::optional<VyString>& attached)
{
    if (attached)
        return attached;
    if (m_next >= m_words.size() || m_words[m_next].rfind("--", 0) == 0)
        return std::nullopt;
    return m_words[m_next++];
}

void VyCommandLineReader::ReadComputer(const std::optional<VyString>& value)
{
    if (!value)
        return Refuse("option '--computer' needs a level: " + LevelChoicesText());
    const std::optional<VyLevel> level = VyCommandLine::ParseLevel(*value);
    if (!level)
        return Refuse(Quoted(*value) + " is not a level: give " + LevelChoicesText());
    SetOpponent(VyStartOpponent::COMPUTER);
    m_request.level = level;
}

void VyCommandLineReader::ReadAutoplay(const std::optional<VyString>& value)
{
    if (!value)
        return Refuse("option '--autoplay' needs a level: " + LevelChoicesText());
    const std::optional<VyLevel> level = VyCommandLine::ParseLevel(*value);
    if (!level)
        return Refuse(Quoted(*value) + " is not a level: give " + LevelChoicesText());
    if (m_request.autoplay)
        return Refuse("option '--autoplay' is given twice");
    m_request.autoplay = level;
}

void VyCommandLineReader::ReadJoin(const std::optional<VyString>& value)
{
    if (!value || value->empty())
        return Refuse(VyString("option '--join' needs a host: ") + HOST_CHOICES);
    if (!CouldBeHost(*value))
        return Refuse(Quoted(*value) + " is not a host: give " + HOST_CHOICES);
    SetOpponent(VyStartOpponent::JOIN);
    m_request.joinHost = *value;
}

void VyCommandLineReader::ReadPort(const std::optional<VyString>& value)
{
    if (!value)
        return Refuse(VyString::Format("option '--port' needs a port number: 1 to %d", MAX_PORT));
    const std::optional<int> port = ParsePort(*value);
    if (!port)
        return Refuse(Quoted(*value) +
                      VyString::Format(" is not a port: give a number from 1 to %d, without a leading 0", MAX_PORT));
    if (m_request.port)
        return Refuse("option '--port' is given twice");
    m_request.port = port;
}

void VyCommandLineReader::ReadName(const std::optional<VyString>& value)
{
    if (!value)
        return Refuse("option '--name' needs your name");
    if (value->empty())
        return Refuse("the player's name is empty");
    if (m_request.playerName)
        return Refuse("option '--name' is given twice");
    m_request.playerName = value;
}

void VyCommandLineReader::ReadQuitAfterFrames(const std::optional<VyString>& value)
{
    if (!value || !IsWholeNumber(*value))
        return Refuse(VyString("option '") + QUIT_AFTER_FRAMES + "' needs a number of frames, 0 or more");
    m_request.frameworkWords.insert(m_request.frameworkWords.end(), {QUIT_AFTER_FRAMES, *value});
}

void VyCommandLineReader::ReadGames(const std::optional<VyString>& value)
{
    if (!value || !IsWholeNumber(*value) || value->ToInt() < 1)
        return Refuse(VyString("option '") + GAMES + "' needs a number of games, 1 or more");
    if (m_request.games)
        return Refuse(VyString("option '") + GAMES + "' is given twice");
    m_request.games = value->ToInt();
}

void VyCommandLineReader::ReadChatEachMove()
{
    if (m_request.bChatEachMove)
        return Refuse(VyString("option '") + CHAT_EACH_MOVE + "' is given twice");
    m_request.bChatEachMove = true;
}

void VyCommandLineReader::SetOpponent(VyStartOpponent opponent)
{
    if (m_request.opponent == opponent)
        return Refuse("option " + Quoted(OptionOf(opponent)) + " is given twice");
    if (m_request.opponent != VyStartOpponent::NONE)
        return Refuse(BothOpponentsText(m_request.opponent, opponent));
    if (!m_request.savedGame.empty())
        return Refuse(SavedGameAndOpponentText(opponent));
    m_request.opponent = opponent;
}

void VyCommandLineReader::CheckNetworkOptions()
{
    if (IsNetworkGame(m_request.opponent))
        return;
    if (m_request.port)
        return Refuse("option '--port' needs --serve or --join");
    if (m_request.playerName)
        Refuse("option '--name' needs --serve or --join");
}

void VyCommandLineReader::CheckUnattendedOptions()
{
    if (m_request.games && !m_request.autoplay)
        return Refuse(VyString("option '") + GAMES + "' needs --autoplay: only the computer answers by itself");
    if (m_request.bChatEachMove && !m_request.autoplay)
        return Refuse(VyString("option '") + CHAT_EACH_MOVE + "' needs --autoplay");
    if (m_request.bChatEachMove && !IsNetworkGame(m_request.opponent))
        Refuse(VyString("option '") + CHAT_EACH_MOVE + "' needs --serve or --join");
}

void VyCommandLineReader::AddFile(const VyString& file)
{
    if (file.empty())
        return Refuse("the saved game's name is empty");
    if (!m_request.savedGame.empty())
        return Refuse("only one saved game can be loaded, and " + Quoted(m_request.savedGame) + " and " +
                      Quoted(file) + " are given");
    if (m_request.opponent != VyStartOpponent::NONE)
        return Refuse(SavedGameAndOpponentText(m_request.opponent));
    if (file[0] != '/' && m_currentDirectory.empty())
        return Refuse("the folder of " + Quoted(file) + " is unknown: the working directory cannot be read");
    m_request.savedGame = Absolute(file);
}

VyString VyCommandLineReader::Absolute(const VyString& file) const
{
    if (file[0] == '/')
        return file;
    const std::filesystem::path folder(static_cast<const std::string&>(m_currentDirectory));
    return VyString((folder / static_cast<const std::string&>(file)).string());
}

void VyCommandLineReader::Refuse(const VyString& reason)
{
    m_request.action = VyStartAction::REFUSE;
    m_request.refusal = reason;
}

VyString VyLevelChoices()
{
    return LevelChoicesText();
}
