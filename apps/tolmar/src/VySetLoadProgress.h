#pragma once

#include "vythread/VySize.h"
#include "vythread/VyString.h"

// What the set loader shows while it works: a window over the game window with a caption, a label
// and a bar over a range. Open and Close come on the window thread; SetRange, SetLabel and SetPos
// come from the loader's thread while it runs, so an implementation keeps what it is told under a
// lock and shows it on the window thread. No call comes after Close until the next Open.
class VySetLoadProgress
{
public:
    virtual ~VySetLoadProgress() = default;

    virtual void Open(const VyString& caption, VySize size, const VyString& label) = 0;
    virtual void SetRange(int low, int high) = 0;
    virtual void SetLabel(const VyString& label) = 0;
    virtual void SetPos(int pos) = 0;
    // The load finished (the bar reached 100), failed or was given up.
    virtual void Close() = 0;
};
