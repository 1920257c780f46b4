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

// "1 to 5, or Beginner, Easy, Intermediate, Hard or Advanced"
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

} // namespace

VyCommandLineReader::VyCommandLineReader(const std::vector<VyString>& words, const VyString& currentDirectory)
    : m_words(words), m_currentDirectory(currentDirectory)
{
}

VyStartRequest VyCommandLineReader::Read()
{
    while (m_next < m_words.size() && m_request.action == VyStartAction::RUN)
        ReadWord(m_words[m_next++]);
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
    else if (name == QUIT_AFTER_FRAMES)
        ReadQuitAfterFrames(TakeValue(attached));
    else if (name != "--human" && name != "--help" && name != "-h" && name != "--version")
        Refuse("unknown option " + Quoted(name));
    else if (attached)
        Refuse("option " + Quoted(name) + " takes no value");
    else if (name == "--human")
        SetOpponent(VyStartOpponent::HUMAN, name);
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
    SetOpponent(VyStartOpponent::COMPUTER, "--computer");
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

void VyCommandLineReader::ReadQuitAfterFrames(const std::optional<VyString>& value)
{
    if (!value || !IsWholeNumber(*value))
        return Refuse(VyString("option '") + QUIT_AFTER_FRAMES + "' needs a number of frames, 0 or more");
    m_request.frameworkWords.insert(m_request.frameworkWords.end(), {QUIT_AFTER_FRAMES, *value});
}

void VyCommandLineReader::SetOpponent(VyStartOpponent opponent, const VyString& option)
{
    if (m_request.opponent == opponent)
        return Refuse("option " + Quoted(option) + " is given twice");
    if (m_request.opponent != VyStartOpponent::NONE)
        return Refuse("--human and --computer cannot both be given");
    if (!m_request.savedGame.empty())
        return Refuse("a saved game names its own opponent: give it or " + option + ", not both");
    m_request.opponent = opponent;
}

void VyCommandLineReader::AddFile(const VyString& file)
{
    if (file.empty())
        return Refuse("the saved game's name is empty");
    if (!m_request.savedGame.empty())
        return Refuse("only one saved game can be loaded, and " + Quoted(m_request.savedGame) + " and " +
                      Quoted(file) + " are given");
    if (m_request.opponent != VyStartOpponent::NONE)
        return Refuse(VyString("a saved game names its own opponent: give it or ") +
                      (m_request.opponent == VyStartOpponent::HUMAN ? "--human" : "--computer") + ", not both");
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
