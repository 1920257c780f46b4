#pragma once

#include <cstdint>

// The platform's beep: a short tone that fades out, on the default sound device. SDL's audio is started
// and the device opened at the first beep, so that a program that never beeps never touches sound.
class VyBeep
{
public:
    VyBeep() = default;
    ~VyBeep(); // closes the device and stops SDL's audio when the first beep started them
    VyBeep(const VyBeep&) = delete;
    VyBeep& operator=(const VyBeep&) = delete;

    // Queues the tone, unless the previous one still sounds. Without sound (no audio, no device: the
    // reason traced once, at the first beep) nothing happens.
    void Play();

private:
    void Open();

    std::uint32_t m_nDevice = 0;
    bool m_bTried = false;
};
