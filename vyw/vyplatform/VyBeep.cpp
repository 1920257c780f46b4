#include "vyplatform/VyBeep.h"

#include <SDL.h>

#include <cmath>
#include <vector>

#include "vythread/VyTrace.h"

namespace
{
constexpr int BEEP_RATE = 22050;
constexpr int BEEP_MS = 120;
constexpr double BEEP_HZ = 880.0;

std::vector<Sint16> MakeBeepTone()
{
    const int count = BEEP_RATE * BEEP_MS / 1000;
    std::vector<Sint16> samples(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const double fade = 1.0 - static_cast<double>(i) / count;
        const double wave = std::sin(2.0 * M_PI * BEEP_HZ * i / BEEP_RATE);
        samples[static_cast<size_t>(i)] = static_cast<Sint16>(wave * fade * 8000.0);
    }
    return samples;
}
} // namespace

VyBeep::~VyBeep()
{
    if (m_nDevice != 0)
        SDL_CloseAudioDevice(m_nDevice);
    if (m_bTried)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void VyBeep::Open()
{
    m_bTried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        VyTrace::Write(VyString("VyWin::Beep : no sound (") + SDL_GetError() + ")\n");
        return;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = BEEP_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    m_nDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (m_nDevice == 0)
        VyTrace::Write(VyString("VyWin::Beep : no sound device (") + SDL_GetError() + ")\n");
}

void VyBeep::Play()
{
    if (!m_bTried)
        Open();
    if (m_nDevice == 0 || SDL_GetQueuedAudioSize(m_nDevice) > 0)
        return; // no device, or a tone still sounds
    static const std::vector<Sint16> tone = MakeBeepTone();
    SDL_QueueAudio(m_nDevice, tone.data(), static_cast<Uint32>(tone.size() * sizeof(Sint16)));
    SDL_PauseAudioDevice(m_nDevice, 0);
}
