#pragma once

#include "vythread/VyString.h"
#include "vyutil/VyTexture.h"

// Gives textures by bitmap name; the current render context implements it and installs itself.
class VyTextureSource
{
public:
    virtual ~VyTextureSource() = default;
    // The texture made from the named bitmap; a handle without texture when the name is empty or unknown.
    virtual VyTexture GetTexture(const VyString& name) = 0;

    // The installed source, or null (colours then get no texture).
    static VyTextureSource* GetCurrent();
    static void SetCurrent(VyTextureSource* source);
};
