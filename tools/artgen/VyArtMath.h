#pragma once

#include <algorithm>
#include <cmath>

// Small vector and interpolation helpers shared by the art generator. Colours use the same vector
// (x, y, z = red, green, blue) in linear light, 0..1.

constexpr double VY_ART_PI = 3.14159265358979323846;

struct VyArtVec3
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr VyArtVec3() = default;
    constexpr VyArtVec3(double vx, double vy, double vz) : x(vx), y(vy), z(vz) {}

    VyArtVec3 operator+(const VyArtVec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    VyArtVec3 operator-(const VyArtVec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    VyArtVec3 operator-() const { return {-x, -y, -z}; }
    VyArtVec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    VyArtVec3 operator/(double k) const { return {x / k, y / k, z / k}; }
    // Component-wise product (a colour filtered by another).
    VyArtVec3 operator*(const VyArtVec3& o) const { return {x * o.x, y * o.y, z * o.z}; }
    VyArtVec3& operator+=(const VyArtVec3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    VyArtVec3& operator*=(double k) { x *= k; y *= k; z *= k; return *this; }
    bool operator==(const VyArtVec3&) const = default;
};

inline VyArtVec3 operator*(double k, const VyArtVec3& v) { return v * k; }
inline double Dot(const VyArtVec3& a, const VyArtVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline VyArtVec3 Cross(const VyArtVec3& a, const VyArtVec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(const VyArtVec3& v) { return std::sqrt(Dot(v, v)); }
// The unit vector along v; the zero vector stays zero.
inline VyArtVec3 Normalized(const VyArtVec3& v)
{
    double len = Length(v);
    return len > 0.0 ? v / len : v;
}
inline VyArtVec3 Mix(const VyArtVec3& a, const VyArtVec3& b, double t) { return a + (b - a) * t; }
inline double Mix(double a, double b, double t) { return a + (b - a) * t; }
inline double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
// Hermite step: 0 below edge0, 1 above edge1, smooth between.
inline double SmoothStep(double edge0, double edge1, double v)
{
    double t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}
inline double Fract(double v) { return v - std::floor(v); }

// The largest value in [low, high] for which ok holds, when ok holds at low and changes once on the
// way to high: high itself when ok holds there, otherwise low after `steps` halvings.
template <typename Predicate>
double Bisect(double low, double high, int steps, Predicate ok)
{
    if (ok(high))
        return high;
    for (int i = 0; i < steps; ++i)
    {
        double mid = 0.5 * (low + high);
        if (ok(mid))
            low = mid;
        else
            high = mid;
    }
    return low;
}

// A colour given as 8-bit sRGB components, in linear light.
VyArtVec3 SrgbColor(int red, int green, int blue);
// One linear component (0..1, clamped) as an 8-bit sRGB value, rounded.
int LinearToSrgb8(double linear);

// Two-dimensional point and a 3 x 3 matrix for plane mappings.
struct VyArtVec2
{
    double x = 0.0;
    double y = 0.0;
};

struct VyArtMat3
{
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    VyArtVec3 operator*(const VyArtVec3& v) const
    {
        return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
    }
    VyArtMat3 Transposed() const;
};

// Solves the n x n system a * x = b in place by Gaussian elimination with partial pivoting
// (a is row-major, n * n). Returns false when the system is singular.
bool SolveLinear(double* a, double* b, int n);
