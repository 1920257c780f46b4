#include "artgen/VyArtCamera.h"

#include <array>

namespace
{
// Least-squares plane homography (h33 = 1) taking lattice (j, i) to the lattice's screen points.
VyArtMat3 FitHomography(const VyArtLattice& lattice)
{
    double ata[64] = {};
    double atb[8] = {};
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
        {
            double u = j, v = i, x = lattice[i][j].x, y = lattice[i][j].y;
            const double rows[2][8] = {{u, v, 1, 0, 0, 0, -x * u, -x * v}, {0, 0, 0, u, v, 1, -y * u, -y * v}};
            const double rhs[2] = {x, y};
            for (int r = 0; r < 2; ++r)
                for (int a = 0; a < 8; ++a)
                {
                    atb[a] += rows[r][a] * rhs[r];
                    for (int b = 0; b < 8; ++b)
                        ata[a * 8 + b] += rows[r][a] * rows[r][b];
                }
        }
    SolveLinear(ata, atb, 8);
    VyArtMat3 h;
    h.m[0][0] = atb[0]; h.m[0][1] = atb[1]; h.m[0][2] = atb[2];
    h.m[1][0] = atb[3]; h.m[1][1] = atb[4]; h.m[1][2] = atb[5];
    h.m[2][0] = atb[6]; h.m[2][1] = atb[7]; h.m[2][2] = 1.0;
    return h;
}

// The squared focal lengths that make the homography's first two columns orthogonal and of equal
// length, for a given principal point. A true camera gives the same value twice.
std::array<double, 2> FocalCandidates(const VyArtMat3& h, VyArtVec2 principal)
{
    double a[3], b[3], c[3];
    for (int k = 0; k < 3; ++k)
    {
        a[k] = h.m[0][k] - principal.x * h.m[2][k];
        b[k] = h.m[1][k] - principal.y * h.m[2][k];
        c[k] = h.m[2][k];
    }
    double orthogonal = -(a[0] * a[1] + b[0] * b[1]) / (c[0] * c[1]);
    double equal = ((a[1] * a[1] + b[1] * b[1]) - (a[0] * a[0] + b[0] * b[0])) / (c[0] * c[0] - c[1] * c[1]);
    return {orthogonal, equal};
}

// The principal point nearest the lattice's middle for which both focal conditions agree.
VyArtVec2 FindPrincipalPoint(const VyArtMat3& h, VyArtVec2 middle)
{
    VyArtVec2 best = middle;
    double bestCost = 1e300;
    double step = 8.0;
    VyArtVec2 centre = middle;
    for (int pass = 0; pass < 4; ++pass)
    {
        for (int dy = -20; dy <= 20; ++dy)
            for (int dx = -20; dx <= 20; ++dx)
            {
                VyArtVec2 p{centre.x + dx * step, centre.y + dy * step};
                std::array<double, 2> f2 = FocalCandidates(h, p);
                if (!(f2[0] > 0.0) || !(f2[1] > 0.0))
                    continue;
                double cost = std::fabs(f2[0] - f2[1]) / (f2[0] + f2[1]) +
                              1e-4 * std::hypot(p.x - middle.x, p.y - middle.y);
                if (cost < bestCost)
                {
                    bestCost = cost;
                    best = p;
                }
            }
        centre = best;
        step /= 8.0;
    }
    return best;
}
} // namespace

VyArtCamera VyArtCamera::Fit(const VyArtLattice& lattice)
{
    VyArtCamera camera;
    VyArtMat3 h = FitHomography(lattice);
    VyArtVec2 middle = lattice[2][2];
    camera.m_principal = FindPrincipalPoint(h, middle);
    std::array<double, 2> f2 = FocalCandidates(h, camera.m_principal);
    camera.m_focal = std::sqrt(0.5 * (f2[0] + f2[1]));

    // K^-1 H = lambda [r1 r2 t]
    VyArtVec3 col[3];
    for (int k = 0; k < 3; ++k)
        col[k] = {(h.m[0][k] - camera.m_principal.x * h.m[2][k]) / camera.m_focal,
                  (h.m[1][k] - camera.m_principal.y * h.m[2][k]) / camera.m_focal, h.m[2][k]};
    double scale = 0.5 * (Length(col[0]) + Length(col[1]));
    VyArtVec3 r1 = Normalized(col[0]);
    VyArtVec3 r2 = Normalized(col[1]);
    // Make the two axes exactly orthogonal, sharing the correction.
    VyArtVec3 bisector = Normalized(r1 + r2);
    VyArtVec3 across = Normalized(r1 - r2);
    r1 = Normalized(bisector + across);
    r2 = Normalized(bisector - across);
    VyArtVec3 up = Cross(r1, r2);
    VyArtVec3 t = col[2] / scale;
    // h must grow towards the camera: the camera lies on the positive side of the board.
    if (Dot(up, t) > 0.0)
        up = -up;
    for (int k = 0; k < 3; ++k)
    {
        camera.m_rotation.m[0][k] = k == 0 ? r1.x : k == 1 ? r2.x : up.x;
        camera.m_rotation.m[1][k] = k == 0 ? r1.y : k == 1 ? r2.y : up.y;
        camera.m_rotation.m[2][k] = k == 0 ? r1.z : k == 1 ? r2.z : up.z;
    }
    camera.m_translation = t;
    camera.m_position = -(camera.m_rotation.Transposed() * t);

    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
        {
            VyArtVec2 p = camera.Project({double(j), double(i), 0.0});
            VyArtVec2 e{lattice[i][j].x - p.x, lattice[i][j].y - p.y};
            camera.m_residual[i][j] = e;
            camera.m_maxResidual = std::max(camera.m_maxResidual, std::hypot(e.x, e.y));
        }
    return camera;
}

VyArtVec3 VyArtCamera::ToCamera(const VyArtVec3& board) const
{
    return m_rotation * board + m_translation;
}

VyArtVec2 VyArtCamera::Project(const VyArtVec3& board) const
{
    VyArtVec3 c = ToCamera(board);
    return {m_focal * c.x / c.z + m_principal.x, m_focal * c.y / c.z + m_principal.y};
}

VyArtVec2 VyArtCamera::ProjectWarped(const VyArtVec3& board) const
{
    VyArtVec2 p = Project(board);
    // The warp is looked up where the picture shows this point, which is within a pixel or two of p.
    VyArtVec2 e = ResidualAt(PlanePoint(p));
    for (int iteration = 0; iteration < 3; ++iteration)
        e = ResidualAt(PlanePoint({p.x + e.x, p.y + e.y}));
    return {p.x + e.x, p.y + e.y};
}

VyArtVec3 VyArtCamera::UnwarpedRay(VyArtVec2 screen) const
{
    VyArtVec3 dirCamera{(screen.x - m_principal.x) / m_focal, (screen.y - m_principal.y) / m_focal, 1.0};
    return Normalized(m_rotation.Transposed() * dirCamera);
}

VyArtVec2 VyArtCamera::PlanePoint(VyArtVec2 screen) const
{
    VyArtVec3 d = UnwarpedRay(screen);
    if (std::fabs(d.z) < 1e-12)
        return {2.0, 2.0};
    double t = -m_position.z / d.z;
    return {m_position.x + d.x * t, m_position.y + d.y * t};
}

VyArtVec2 VyArtCamera::ResidualAt(VyArtVec2 plane) const
{
    double u = std::clamp(plane.x, 0.0, 4.0);
    double v = std::clamp(plane.y, 0.0, 4.0);
    int j = std::min(static_cast<int>(u), 3);
    int i = std::min(static_cast<int>(v), 3);
    double tu = u - j, tv = v - i;
    auto lerp = [](VyArtVec2 a, VyArtVec2 b, double t) { return VyArtVec2{Mix(a.x, b.x, t), Mix(a.y, b.y, t)}; };
    VyArtVec2 near = lerp(m_residual[i][j], m_residual[i][j + 1], tu);
    VyArtVec2 far = lerp(m_residual[i + 1][j], m_residual[i + 1][j + 1], tu);
    return lerp(near, far, tv);
}

VyArtVec3 VyArtCamera::RayDirection(VyArtVec2 screen) const
{
    VyArtVec2 e = ResidualAt(PlanePoint(screen));
    return UnwarpedRay({screen.x - e.x, screen.y - e.y});
}

double VyArtCamera::PixelsPerUnit() const
{
    return m_focal / ToCamera({2.0, 2.0, 0.0}).z;
}

double VyArtCamera::ElevationDegrees() const
{
    VyArtVec3 toCamera = Normalized(m_position - VyArtVec3{2.0, 2.0, 0.0});
    return std::asin(toCamera.z) * 180.0 / VY_ART_PI;
}
