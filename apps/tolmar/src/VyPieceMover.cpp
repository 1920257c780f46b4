#include "VyPieceMover.h"

#include <cmath>

void VyPieceMover::Start(VyPoint from, VyPoint to, float speed, unsigned int now)
{
    m_from = from;
    m_to = to;
    m_startTime = now;
    m_endTime = now;
    m_velocityX = 0.0;
    m_velocityY = 0.0;
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const long distance = std::lround(std::sqrt(dx * dx + dy * dy));
    if (distance == 0 || static_cast<int>(speed + 0.005f) == 0)
        return;
    m_velocityX = speed / static_cast<double>(distance) * dx;
    m_velocityY = speed / static_cast<double>(distance) * dy;
    m_endTime = now + static_cast<unsigned int>(static_cast<double>(distance) / speed * 1000.0);
}

bool VyPieceMover::IsOver(unsigned int now) const
{
    // Tick counts wrap; the difference tells how far past the start we are.
    return now - m_startTime >= m_endTime - m_startTime;
}

VyPoint VyPieceMover::At(unsigned int now) const
{
    if (IsOver(now))
        return m_to;
    const double seconds = static_cast<double>(now - m_startTime) / 1000.0;
    return {m_from.x + static_cast<int>(std::lround(m_velocityX * seconds)),
            m_from.y + static_cast<int>(std::lround(m_velocityY * seconds))};
}
