#pragma once

#include "artgen/VyArtCamera.h"
#include "artgen/VyArtClassicSet.h"
#include "artgen/VyArtLight.h"

// The camera fitted to the classic set's squares and the light placed for it, as the generator
// makes them.
struct ArtScene
{
    VyArtCamera camera = VyArtCamera::Fit(ClassicLattice());
    VyArtLight light = VyArtLight::ForCamera(camera);
};
