#pragma once

#include "artgen/VyArtMath.h"

class VyArtCamera;

// The light of the pictures drawn face-on (the icon's rim, the title's letters): unit vector towards
// it, from the upper left and towards the viewer.
inline const VyArtVec3 VY_ART_FACE_LIGHT = Normalized({-0.5, 0.6, 0.65});

// Surface finish for VyArtLight::Illuminate.
struct VyArtFinish
{
    double specular = 0.0;  // strength of the highlight
    double shininess = 30.0; // Blinn exponent: higher is a tighter highlight
    double sheen = 0.0;     // extra reflection of the sky at grazing angles (varnish, polish)
};

// The one light of every picture: a warm key light from the upper left, slightly towards the viewer,
// and a cool sky fill. Directions are in board coordinates (u, v, h), so the board and the pieces are
// lit from the same side.
class VyArtLight
{
public:
    // The light placed relative to the camera that looks at the board.
    static VyArtLight ForCamera(const VyArtCamera& camera);

    // Unit vector towards the key light.
    const VyArtVec3& Direction() const { return m_direction; }

    // Reflected colour of a surface. toViewer is the unit vector towards the eye; visibility (0..1)
    // is how much of the key light reaches the point; occlusion (0..1) how much of the sky it sees.
    VyArtVec3 Illuminate(const VyArtVec3& albedo, const VyArtVec3& normal, const VyArtVec3& toViewer,
                         const VyArtFinish& finish, double visibility, double occlusion) const;

private:
    VyArtVec3 m_direction{0.0, 0.0, 1.0};
    VyArtVec3 m_keyColor{1.0, 0.96, 0.9};
    VyArtVec3 m_skyColor{0.33, 0.335, 0.35};
};
