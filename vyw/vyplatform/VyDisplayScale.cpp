#include "vyplatform/VyDisplayScale.h"

#include <algorithm>

namespace
{
// The whole number nearest to three quarters of desktop / logical, halves rounded up.
int NearestThreeQuarters(int desktop, int logical)
{
    return static_cast<int>((3LL * desktop + 2LL * logical) / (4LL * logical));
}

bool IsEmpty(VySize size)
{
    return size.cx <= 0 || size.cy <= 0;
}
} // namespace

int VyDisplayScale::Automatic(VySize logical, VySize desktop, VyDisplayKind kind)
{
    if (IsEmpty(logical) || IsEmpty(desktop))
        return 1;
    if (kind == VyDisplayKind::FULL_SCREEN)
        return std::max(1, std::min(desktop.cx / logical.cx, desktop.cy / logical.cy));
    // Rounding three quarters never reaches past the whole side: 3/4 r + 1/2 <= r for r >= 2.
    return std::max(1, std::min(NearestThreeQuarters(desktop.cx, logical.cx), NearestThreeQuarters(desktop.cy, logical.cy)));
}

int VyDisplayScale::Resolve(int setting, VySize logical, VySize desktop, VyDisplayKind kind, int maxSide)
{
    int factor = setting >= 1 ? setting : Automatic(logical, desktop, kind);
    const int largerSide = std::max(logical.cx, logical.cy);
    if (largerSide > 0)
        factor = std::min(factor, maxSide / largerSide);
    return std::max(1, factor);
}

int VyDisplayScale::ToLogical(int windowCoordinate, int factor)
{
    if (factor <= 1)
        return windowCoordinate;
    const int quotient = windowCoordinate / factor;
    return windowCoordinate % factor < 0 ? quotient - 1 : quotient;
}
