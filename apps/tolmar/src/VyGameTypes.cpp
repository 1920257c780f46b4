#include "VyGameTypes.h"

const char* LevelName(int level)
{
    static const char* const names[] = {"Beginner", "Easy", "Intermediate", "Hard", "Advanced"};
    if (level < LEVEL_BEGINNER || level > LEVEL_ADVANCED)
        return "";
    return names[level - LEVEL_BEGINNER];
}
