#include "VyGameSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "vyio/VyFile.h"
#include "vythread/VyException.h"

namespace
{
constexpr const char* GENERAL = "General";
constexpr const char* NETWORK = "Network";

const char* PlayerKey(VyPlayer player)
{
    return player == VyPlayer::PLAYER2 ? "Player2" : "Player1";
}

std::unique_ptr<VyConfigFile> OpenOrCreate(const char* name)
{
    try
    {
        return std::make_unique<VyConfigFile>(name);
    }
    catch (VyException&)
    {
        if (std::FILE* pFile = std::fopen(name, "ab"))
            std::fclose(pFile);
        return std::make_unique<VyConfigFile>(name);
    }
}
} // namespace

VyGameSettings::VyGameSettings() : m_pFile(OpenOrCreate(FileName()))
{
}

void VyGameSettings::Store(const VyString& key, const VyString& value)
{
    StoreIn(GENERAL, key, value);
}

void VyGameSettings::StoreIn(const VyString& section, const VyString& key, const VyString& value)
{
    m_pFile->SetString(section, key, value);
    m_pFile->Save();
}

std::optional<VyString> VyGameSettings::FindNetworkValue(const VyString& key)
{
    // Read without a default, so that an absent port stays absent (nothing is written for it).
    std::vector<VyString> keys;
    std::vector<VyString> values;
    m_pFile->GetSection(NETWORK, keys, values);
    for (size_t i = 0; i < keys.size() && i < values.size(); ++i)
        if (keys[i] == key)
            return values[i];
    return std::nullopt;
}

VyString VyGameSettings::GetPortText()
{
    return FindNetworkValue("PortNumber").value_or(VyString());
}

int VyGameSettings::GetPortNumber(int fallback)
{
    const std::optional<VyString> text = FindNetworkValue("PortNumber");
    return text ? std::atoi(text->c_str()) : fallback;
}

void VyGameSettings::SetPortText(const VyString& text)
{
    StoreIn(NETWORK, "PortNumber", text);
}

VyString VyGameSettings::GetServerAddress()
{
    return m_pFile->GetString(NETWORK, "Server Address", "");
}

void VyGameSettings::SetServerAddress(const VyString& address)
{
    StoreIn(NETWORK, "Server Address", address);
}

float VyGameSettings::GetMoveSpeed()
{
    return static_cast<float>(m_pFile->GetInt(GENERAL, "Movement Speed", 300));
}

void VyGameSettings::SetMoveSpeed(float pixelsPerSecond)
{
    m_pFile->SetInt(GENERAL, "Movement Speed", static_cast<int>(std::lround(pixelsPerSecond)), VY_CONFIG_SAVE_NOW);
}

unsigned int VyGameSettings::GetExpertTime()
{
    const int milliseconds = m_pFile->GetInt(GENERAL, "Expert Time", VY_DEFAULT_EXPERT_MS);
    if (milliseconds < 0)
        return VY_DEFAULT_EXPERT_MS;
    return static_cast<unsigned int>(std::min(milliseconds, VY_MAX_EXPERT_MS));
}

const char* VyGameSettings::LastGameLabel(VyOpponent opponent)
{
    switch (opponent)
    {
    case VyOpponent::COMPUTER: return "Computer";
    case VyOpponent::NETWORK_CLIENT: return "Network:Client";
    case VyOpponent::NETWORK_SERVER: return "Network:Server";
    case VyOpponent::HUMAN: break;
    }
    return "Human";
}

VyOpponent VyGameSettings::GetLastGame()
{
    const VyString label = m_pFile->GetString(GENERAL, "Last Game", "Human");
    for (VyOpponent kind : {VyOpponent::COMPUTER, VyOpponent::NETWORK_CLIENT, VyOpponent::NETWORK_SERVER})
        if (label == LastGameLabel(kind))
            return kind;
    return VyOpponent::HUMAN;
}

void VyGameSettings::SetLastGame(VyOpponent opponent)
{
    Store("Last Game", LastGameLabel(opponent));
}

const char* VyGameSettings::FirstPlayerLabel(VyFirstPlayer firstPlayer)
{
    switch (firstPlayer)
    {
    case VyFirstPlayer::PLAYER2: return "Player2";
    case VyFirstPlayer::RANDOM: return "Random";
    case VyFirstPlayer::PLAYER1: break;
    }
    return "Player1";
}

VyFirstPlayer VyGameSettings::GetFirstPlayer(VyFirstPlayer fallback)
{
    const VyString label = m_pFile->GetString(GENERAL, "First Player", "Player1");
    for (VyFirstPlayer first : {VyFirstPlayer::PLAYER1, VyFirstPlayer::PLAYER2, VyFirstPlayer::RANDOM})
        if (label == FirstPlayerLabel(first))
            return first;
    return fallback;
}

void VyGameSettings::SetFirstPlayer(VyFirstPlayer firstPlayer)
{
    Store("First Player", FirstPlayerLabel(firstPlayer));
}

VyString VyGameSettings::GetPlayerName(VyPlayer player)
{
    return m_pFile->GetString(GENERAL, PlayerKey(player), "");
}

void VyGameSettings::SetPlayerName(VyPlayer player, const VyString& name)
{
    Store(PlayerKey(player), name);
}

VyString VyGameSettings::GetSetName()
{
    return m_pFile->GetString(GENERAL, "Set", "classic");
}

void VyGameSettings::SetSetName(const VyString& name)
{
    Store("Set", name);
}

void VyGameSettings::Delete()
{
    std::remove(FileName());
}
