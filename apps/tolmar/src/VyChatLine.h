#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "vythread/VyString.h"

class VyEdit;
class VyFrameWnd;

// How the chat line editor ended.
enum class VyChatLineResult
{
    OPEN,      // it is still open
    ACCEPTED,  // Return: the text is to be sent
    CANCELLED, // Escape, the connection's end, or the program's
};

// The chat line editor: a one-line edit field along the bottom edge of its parent (50 pixels in
// from the left and the right, its top 50 pixels above the bottom, its height the font's) in which
// the local player types a chat line. It runs modally: it is the main window's modal window with the
// focus while Run waits, the program going on meanwhile; Accept and Cancel end the wait (the parent's
// key filter calls them for Return and Escape, before the field sees those keys). At most one is open.
//
// The field has no identifier: the numbers around 204 belong to the pieces of the game window, and
// the field sends no commands.
//
// Failures: without a main window or a platform, or when the parent cannot take a child, Run
// opens nothing and answers at once with nothing; a quit of the program ends the wait as Cancel.
class VyChatLine
{
public:
    // Opens the editor in parent and waits until it closes; the text typed when it was accepted.
    // Nothing at once when an editor is open already.
    std::optional<VyString> Run(VyFrameWnd& parent);
    // End the wait of an open editor: send the text, or send nothing.
    void Accept() { Finish(VyChatLineResult::ACCEPTED); }
    void Cancel() { Finish(VyChatLineResult::CANCELLED); }
    // Whether an editor waits for Accept or Cancel.
    bool IsWaiting() const { return !m_bClosed.load(); }
    // The open field, or null.
    VyEdit* GetEdit() const { return m_pEdit; }
    VyChatLineResult GetResult() const { return m_result; }

    // The field's style: visible, with its height following its font.
    static constexpr uint32_t VY_EDIT_STYLE = 0x1000008;
    static constexpr int VY_SIDE_INSET = 50;
    static constexpr int VY_STRIP_HEIGHT = 50;

private:
    VyEdit* Open(VyFrameWnd& parent);
    void Finish(VyChatLineResult result);

    VyEdit* m_pEdit = nullptr;
    VyChatLineResult m_result = VyChatLineResult::CANCELLED;
    std::atomic<bool> m_bClosed{true};
};
