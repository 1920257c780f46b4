#pragma once

#include <cstdint>
#include <mutex>

// The pseudo-random generator: values 0 to 32767. A random index below n is Next() % n.
// The process-wide generator is seeded from the clock at start-up; tests and self-play make their
// own with a fixed seed. Safe to call from several threads.
class VyRandom
{
public:
    explicit VyRandom(uint32_t seed = 1) : m_state(seed) {}

    void Seed(uint32_t seed);
    int Next();                 // 0..32767
    int Below(int count);       // Next() % count; 0 when count < 1

    // The process-wide generator, seeded from the clock on first use.
    static VyRandom& Global();

private:
    std::mutex m_lock;
    uint32_t m_state;
};
