#include "VyCommandLine.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iterator>

#include "VyGameTypes.h"
#include "vyplatform/VyProcessControl.h"

#ifndef TOLMAR_VERSION
#error "TOLMAR_VERSION comes from the project's version (apps/tolmar/CMakeLists.txt)"
#endif

namespace
{
constexpr const char* QUIT_AFTER_FRAMES = "--quit-after-frames";

// "1 to 5, or Beginner, Easy, Intermediate, Hard or Advanced"
VyString LevelChoices()
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

// One reading of the words, left to right, into a request.
class WordReader
{
public:
    WordReader(const std::vector<VyString>& words, const VyString& currentDirectory)
        : m_words(words), m_currentDirectory(currentDirectory)
    {
    }

    VyStartRequest Read()
    {
        while (m_next < m_words.size() && m_request.action == VyStartAction::RUN)
            ReadWord(m_words[m_next++]);
        return m_request;
    }

private:
    void ReadWord(const VyString& word)
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

    void ReadOption(const VyString& name, const std::optional<VyString>& attached)
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

    // The value written after '=', else the next word unless it is an option.
    std::optional<VyString> TakeValue(const std::optional<VyString>& attached)
    {
        if (attached)
            return attached;
        if (m_next >= m_words.size() || m_words[m_next].rfind("--", 0) == 0)
            return std::nullopt;
        return m_words[m_next++];
    }

    void ReadComputer(const std::optional<VyString>& value)
    {
        if (!value)
            return Refuse("option '--computer' needs a level: " + LevelChoices());
        const std::optional<VyLevel> level = VyCommandLine::ParseLevel(*value);
        if (!level)
            return Refuse(Quoted(*value) + " is not a level: give " + LevelChoices());
        SetOpponent(VyStartOpponent::COMPUTER, "--computer");
        m_request.level = level;
    }

    void ReadAutoplay(const std::optional<VyString>& value)
    {
        if (!value)
            return Refuse("option '--autoplay' needs a level: " + LevelChoices());
        const std::optional<VyLevel> level = VyCommandLine::ParseLevel(*value);
        if (!level)
            return Refuse(Quoted(*value) + " is not a level: give " + LevelChoices());
        if (m_request.autoplay)
            return Refuse("option '--autoplay' is given twice");
        m_request.autoplay = level;
    }

    void ReadQuitAfterFrames(const std::optional<VyString>& value)
    {
        if (!value || !IsWholeNumber(*value))
            return Refuse(VyString("option '") + QUIT_AFTER_FRAMES + "' needs a number of frames, 0 or more");
        m_request.frameworkWords.insert(m_request.frameworkWords.end(), {QUIT_AFTER_FRAMES, *value});
    }

    void SetOpponent(VyStartOpponent opponent, const VyString& option)
    {
        if (m_request.opponent == opponent)
            return Refuse("option " + Quoted(option) + " is given twice");
        if (m_request.opponent != VyStartOpponent::NONE)
            return Refuse("--human and --computer cannot both be given");
        if (!m_request.savedGame.empty())
            return Refuse("a saved game names its own opponent: give it or " + option + ", not both");
        m_request.opponent = opponent;
    }

    void AddFile(const VyString& file)
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

    // ".." and links stay as they are: the path means the same from any folder.
    VyString Absolute(const VyString& file) const
    {
        if (file[0] == '/')
            return file;
        const std::filesystem::path folder(static_cast<const std::string&>(m_currentDirectory));
        return VyString((folder / static_cast<const std::string&>(file)).string());
    }

    void Refuse(const VyString& reason)
    {
        m_request.action = VyStartAction::REFUSE;
        m_request.refusal = reason;
    }

    const std::vector<VyString>& m_words;
    const VyString& m_currentDirectory;
    size_t m_next = 0;
    bool m_bFilesOnly = false;
    VyStartRequest m_request;
};
} // namespace

VyStartRequest VyCommandLine::Parse(const std::vector<VyString>& words, const VyString& currentDirectory)
{
    return WordReader(words, currentDirectory).Read();
}

VyStartRequest VyCommandLine::Parse(int argc, const char* const* argv)
{
    std::vector<VyString> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i]);
    return Parse(words, VyProcessControl::GetCurrentDirectory());
}

std::optional<VyLevel> VyCommandLine::ParseLevel(const VyString& word)
{
    for (VyLevel level : VY_ALL_LEVELS)
        if (word == VyString::Format("%d", VyNumberOf(level)) || word.EqualsNoCase(LevelName(level)))
            return level;
    return std::nullopt;
}

std::vector<VyString> VyCommandLine::ToWords(const VyStartRequest& request)
{
    std::vector<VyString> words = request.frameworkWords;
    if (request.opponent == VyStartOpponent::HUMAN)
        words.emplace_back("--human");
    if (request.opponent == VyStartOpponent::COMPUTER)
        words.insert(words.end(), {"--computer", VyString::Format("%d", VyNumberOf(request.level.value()))});
    if (request.autoplay)
        words.insert(words.end(), {"--autoplay", VyString::Format("%d", VyNumberOf(*request.autoplay))});
    if (!request.savedGame.empty())
        words.insert(words.end(), {"--", request.savedGame});
    return words;
}

VyString VyCommandLine::HelpText()
{
    return "Usage: tolmar [OPTION]... [FILE]\n"
           "Plays Tolmar, a board game for two. FILE is a saved game to load at start.\n"
           "\n"
           "  --human                begin a game for two players at this machine at once\n"
           "  --computer LEVEL       begin a game against the computer at once; LEVEL is\n"
           "                         " +
           LevelChoices() +
           "\n"
           "  --autoplay LEVEL       the computer plays your seat at LEVEL (demonstrations)\n"
           "  --quit-after-frames N  end the program after N drawn frames (tests, measurements)\n"
           "  -h, --help             print this help and end\n"
           "  --version              print the version and end\n"
           "\n"
           "Settings, saved games and screenshots are kept in the program's own folder.\n"
           "Exit status: 0 after a normal end, 1 after an error, 2 for a command line that\n"
           "cannot be followed.\n";
}

VyString VyCommandLine::VersionLine()
{
    return VyString("tolmar ") + TOLMAR_VERSION + "\n";
}

VyString VyCommandLine::RefusalText(const VyStartRequest& request)
{
    return "tolmar: " + request.refusal + "\nTry 'tolmar --help'.\n";
}

VyString VyCommandLine::Describe(const VyStartRequest& request)
{
    if (!request.savedGame.empty())
        return "saved game " + request.savedGame;
    if (request.opponent == VyStartOpponent::COMPUTER)
        return VyString::Format("computer at level %d (%s)", VyNumberOf(request.level.value()),
                                LevelName(request.level.value()));
    return request.opponent == VyStartOpponent::HUMAN ? "human" : "no game";
}

std::optional<int> VyCommandLine::Answer(const VyStartRequest& request)
{
    switch (request.action)
    {
    case VyStartAction::PRINT_HELP:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case VyStartAction::PRINT_VERSION:
        std::fputs(VersionLine().c_str(), stdout);
        return 0;
    case VyStartAction::REFUSE:
        std::fputs(RefusalText(request).c_str(), stderr);
        return 2;
    case VyStartAction::RUN:
        break;
    }
    return std::nullopt;
}
