#pragma once

#include <memory>
#include <optional>

#include "VyGameTypes.h"
#include "vyio/VyConfigFile.h"

// The game's settings in Tolmar.cfg, in the program's directory (the working directory):
//
//   [General] Movement Speed   int    300        piece speed in pixels per second; -1 = no movement
//   [General] Last Game        text   "Human"    "Human", "Computer", "Network:Client", "Network:Server"
//   [General] First Player     text   "Player1"  "Player1", "Player2" or "Random"
//   [General] Player1, Player2 text   empty      the players' names
//   [General] Set              text   "classic"  the piece set; written when a set chosen from
//                                                Options > Piece Set has arrived
//   [General] Expert Time      int    2000       the Expert's budget per decision and per hint in
//                                                milliseconds; 0 = no limit
//   [Network] PortNumber       int    7          the port for serving and joining, as typed
//   [Network] Server Address   text   empty      the last host joined
//
// Reading a missing key adds it with its default. A missing file is created empty when the settings
// are opened. Every change is written at once: a setting the player chose is never lost because the
// program ended before the next write. Writing failures are reported to the trace and not thrown
// (VyConfigFile).
class VyGameSettings
{
public:
    // Opens Tolmar.cfg, creating it empty when it cannot be read.
    VyGameSettings();

    static const char* FileName() { return "Tolmar.cfg"; }

    float GetMoveSpeed();
    void SetMoveSpeed(float pixelsPerSecond);
    // Last Game as an opponent kind: "Computer" 4, "Network:Client" 2, "Network:Server" 3, else 1.
    VyOpponent GetLastGame();
    void SetLastGame(VyOpponent opponent);
    // First Player: an unknown text gives fallback.
    VyFirstPlayer GetFirstPlayer(VyFirstPlayer fallback);
    void SetFirstPlayer(VyFirstPlayer firstPlayer);
    VyString GetPlayerName(VyPlayer player);
    void SetPlayerName(VyPlayer player, const VyString& name);
    VyString GetSetName();
    void SetSetName(const VyString& name);
    // Expert Time: a negative number gives the default, one above VY_MAX_EXPERT_MS that maximum.
    unsigned int GetExpertTime();
    static constexpr int VY_DEFAULT_EXPERT_MS = 2000;
    static constexpr int VY_MAX_EXPERT_MS = 3600000; // an hour
    // PortNumber as the player typed it (empty when absent); the number, or fallback when absent.
    VyString GetPortText();
    int GetPortNumber(int fallback);
    void SetPortText(const VyString& text);
    VyString GetServerAddress();
    void SetServerAddress(const VyString& address);

    // The texts the file holds for the enumerations.
    static const char* LastGameLabel(VyOpponent opponent);
    static const char* FirstPlayerLabel(VyFirstPlayer firstPlayer);

    // Deletes Tolmar.cfg (the set it names cannot be loaded); the settings are read from defaults
    // afterwards.
    static void Delete();

private:
    void Store(const VyString& key, const VyString& value);
    void StoreIn(const VyString& section, const VyString& key, const VyString& value);
    std::optional<VyString> FindNetworkValue(const VyString& key);

    std::unique_ptr<VyConfigFile> m_pFile;
};
