#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "VyGameWnd.h"
#include "VyPiece.h"
#include "VyTolmarMainWnd.h"
#include "vycontrol/VyMenuBar.h"
#include "vycontrol/VyMenuItem.h"
#include "vycontrol/VyControlTestSupport.h"
#include "vycontrol/VyStandardControls.h"
#include "vyio/VyTestDir.h"
#include "vyplatform/VyFileDialogHost.h"
#include "vythread/VyMessageQueue.h"
#include "vywindow/VyMsgBox.h"

// A menu item of the main window's bar, enabled and checked as just before it shows.
inline VyMenuItem& UpdatedItem(VyTolmarMainWnd& main, int command)
{
    auto* pBar = dynamic_cast<VyMenuBar*>(main.GetMenuBar());
    VyMenuItem* pItem = pBar == nullptr ? nullptr : pBar->FindItem(command);
    if (pItem == nullptr)
        throw std::runtime_error("no menu item " + std::to_string(command));
    main.UpdateMenuItem(*pItem);
    return *pItem;
}

// A file dialog that answers with the path the test gives (an empty path cancels).
class VyScriptedFileDialog : public VyFileDialogHost
{
public:
    bool AskFileName(VyFileDialogMode mode, const VyString& defaultName, VyString& outPath) override
    {
        m_modes.push_back(mode);
        m_defaults.push_back(defaultName);
        if (m_answer.empty())
            return false;
        outPath = m_answer;
        return true;
    }
    VyString m_answer;
    std::vector<VyFileDialogMode> m_modes;
    std::vector<VyString> m_defaults;
};

// The game's main window and game window on the test platform at the game's 640 x 480, in a fresh
// working directory (Tolmar.cfg lands there), with the classic set loaded from the linked archive.
// Pieces move at the speed the test sets (Off unless it says otherwise).
class VyGameWndTest : public testing::Test
{
protected:
    static constexpr int WIDTH = 640;
    static constexpr int HEIGHT = 480;
    // How many rounds of the queue a wait may take before the test counts as hung (a guard only).
    static constexpr int WAIT_ROUNDS = 20000;

    void SetUp() override
    {
        m_pWorkingDir = std::make_unique<VyScopedWorkingDir>(m_dir.Path());
        WriteSettings();
        m_pPlatform = std::make_unique<VyTestPlatform>();
        VyStandardControls::Install();
        m_pPlatform->SetFileDialogHost(&m_fileDialog);
        m_context.SetColorSlotResolver([](int id) { return VyColorScheme::Global().ColorOf(id); });
        m_context.Initialize(WIDTH, HEIGHT, 32, false);
        m_pMain = std::make_unique<VyTolmarMainWnd>(WIDTH, HEIGHT);
        m_pMain->SetClickClock([this] { return m_now; });
        m_pMain->OnMouseEntered();
        m_pGame = m_pMain->CreateGameWindow();
        ASSERT_NE(m_pGame, nullptr);
        WaitFor([this] { return Rules().GetNumberOfPieces() == 16 && m_pGame->GetPiece(15) != nullptr; });
        Dispatch();
    }

    void TearDown() override
    {
        m_pMain->Close();
        m_pMain.reset();
        m_context.Shutdown();
        m_pPlatform.reset();
        VyControlFactory::Install(nullptr);
    }

    // The settings file before the game starts: movement Off unless a test writes its own.
    virtual void WriteSettings() { m_dir.Put("Tolmar.cfg", "[General]\nMovement Speed=-1\n"); }

    VyGameRules& Rules() { return m_pGame->GetRules(); }
    VyTestPlatform& Platform() { return *m_pPlatform; }

    void Dispatch() { VyMessageTarget::DispatchMessages(); }
    // One timer tick and what it caused.
    void Tick()
    {
        VyMessageQueue::Current()->ProcessTimers();
        Dispatch();
    }
    // Runs the queue and the timers until done() holds; fails the test when it never does.
    void WaitFor(const std::function<bool()>& done)
    {
        for (int round = 0; round < WAIT_ROUNDS && !done(); ++round)
        {
            Tick();
            if (!done())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(done()) << "the game never got there";
    }
    // Until no movement runs and the computer is not thinking: a local human acts, or the game is over.
    void Settle()
    {
        WaitFor([this] { return !Rules().IsMoving() && !Rules().IsComputersTurn(); });
    }

    // Input in the game window's client coordinates, which are the root's (the window starts at x 0,
    // y 0, below the menu bar).
    void Move(VyPoint p) { m_pMain->OnMouseMove(p, 0); }
    void Click(VyPoint p)
    {
        Move(p);
        m_pMain->OnMouseButton(p, VY_MOUSE_LEFT | VY_MOUSE_PRESS);
        m_pMain->OnMouseButton(p, VY_MOUSE_LEFT | VY_MOUSE_RELEASE);
        m_now += 1000; // no double click
        Dispatch();
    }
    void Key(int key, int flags = 0)
    {
        m_pMain->OnKey(key, VY_INPUT_KEY | flags);
        Dispatch();
    }
    void Space()
    {
        m_pMain->OnChar(' ', VY_INPUT_KEY);
        Dispatch();
    }

    // A point of the piece's window where its picture is not transparent (root coordinates).
    VyPoint SolidPointOf(int piece) const
    {
        const VyPiece& p = *m_pGame->GetPiece(piece);
        const VyRect rect = p.GetRootRect();
        const VyPoint middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        return p.ContainsPoint(p.GetParent()->RootToClient(middle)) ? middle : VyPoint{-1, -1};
    }
    VyPoint CenterOf(int square) const
    {
        return m_pGame->ClientToRoot(m_pGame->GetRules().GetSquares()[static_cast<size_t>(square)].center);
    }
    void ChoosePieceByClick(int piece) { Click(SolidPointOf(piece)); }
    void PlaceByClick(int square) { Click(CenterOf(square)); }
    // The first piece off the board and the first empty square, in index order.
    int FirstFreePiece() const
    {
        const auto& pieces = m_pGame->GetRules().GetPieces();
        for (size_t i = 0; i < pieces.size(); ++i)
            if (pieces[i].location < 0 && static_cast<int>(i) != m_pGame->GetRules().GetCurrentPiece())
                return static_cast<int>(i);
        return INVALID_PIECE;
    }
    int FirstEmptySquare() const
    {
        const auto& squares = m_pGame->GetRules().GetSquares();
        for (size_t i = 0; i < squares.size(); ++i)
            if (squares[i].piece < 0)
                return static_cast<int>(i);
        return NO_SQUARE;
    }
    // Plays the local human's half-moves by clicks (first free piece, first empty square) and lets the
    // other side move, until the game is over.
    void PlayToTheEndByClicks()
    {
        for (int halfMove = 0; halfMove < 40 && !Rules().IsGameOver(); ++halfMove)
        {
            Settle();
            if (Rules().IsHumanChoosing())
                ChoosePieceByClick(FirstFreePiece());
            else if (Rules().IsHumanPlacing())
                PlaceByClick(FirstEmptySquare());
            Settle();
        }
        ASSERT_TRUE(Rules().IsGameOver());
    }

    // Answers the message box on top with a button.
    std::function<void()> Answer(int button)
    {
        return [this, button] {
            auto* pBox = dynamic_cast<VyMsgBox*>(m_pMain->GetModal());
            ASSERT_NE(pBox, nullptr) << "no message box is open";
            m_questions.push_back(pBox->GetControlText(VyMsgBox::VY_TEXT_ID));
            pBox->Close(button);
        };
    }

    VyTestDir m_dir;
    std::unique_ptr<VyScopedWorkingDir> m_pWorkingDir;
    std::unique_ptr<VyTestPlatform> m_pPlatform;
    VyScriptedFileDialog m_fileDialog;
    VyNativeContext m_context;
    std::unique_ptr<VyTolmarMainWnd> m_pMain;
    VyGameWnd* m_pGame = nullptr;
    VyScript m_script;
    std::vector<VyString> m_questions;
    unsigned int m_now = 100000;
};
