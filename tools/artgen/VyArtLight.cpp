#include "artgen/VyArtLight.h"

#include "artgen/VyArtCamera.h"

VyArtLight VyArtLight::ForCamera(const VyArtCamera& camera)
{
    // Left, a little up and towards the viewer in the camera's own axes (x right, y up, z into the picture).
    VyArtVec3 inCamera = Normalized({-0.6, 0.38, -0.72});
    VyArtLight light;
    light.m_direction = Normalized(camera.Rotation().Transposed() * inCamera);
    return light;
}

VyArtVec3 VyArtLight::Illuminate(const VyArtVec3& albedo, const VyArtVec3& normal, const VyArtVec3& toViewer,
                                 const VyArtFinish& finish, double visibility, double occlusion) const
{
    double diffuse = std::max(0.0, Dot(normal, m_direction)) * visibility;
    // Sky light: full from straight above, half from the side, a little from below (bounce).
    double sky = (0.6 + 0.4 * normal.z) * occlusion;
    VyArtVec3 color = albedo * (m_keyColor * (0.85 * diffuse) + m_skyColor * (1.5 * sky));
    if (finish.specular > 0.0 && diffuse > 0.0)
    {
        VyArtVec3 halfway = Normalized(m_direction + toViewer);
        double highlight = std::pow(std::max(0.0, Dot(normal, halfway)), finish.shininess);
        color += m_keyColor * (finish.specular * highlight * visibility);
    }
    if (finish.sheen > 0.0)
    {
        double facing = Clamp01(Dot(normal, toViewer));
        double fresnel = std::pow(1.0 - facing, 5.0);
        color += m_skyColor * (finish.sheen * fresnel * occlusion);
    }
    return color;
}
