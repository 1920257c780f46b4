#pragma once

#include "vythread/VyPoint.h"

// The arithmetic of one piece movement: a straight line from one window position (left, top) to
// another at a speed in pixels per second, sampled on timer ticks. Times are tick counts in ms.
//
//   Start(from, to, speed, now)   distance = |to - from| rounded; a distance of 0 or a speed below
//                                 one pixel per second ends at the first sample; otherwise the end
//                                 time is now + distance / speed * 1000
//   At(now)                       the position at now, rounded per axis; `to` from the end time on
//   IsOver(now)                   whether the end time was reached
class VyPieceMover
{
public:
    void Start(VyPoint from, VyPoint to, float speed, unsigned int now);
    VyPoint At(unsigned int now) const;
    bool IsOver(unsigned int now) const;
    VyPoint GetTarget() const { return m_to; }
    unsigned int GetEndTime() const { return m_endTime; }

private:
    VyPoint m_from;
    VyPoint m_to;
    unsigned int m_startTime = 0;
    unsigned int m_endTime = 0;
    double m_velocityX = 0.0; // pixels per second
    double m_velocityY = 0.0;
};
