#include "artgen/VyArtMath.h"


VyArtVec3 SrgbColor(int red, int green, int blue)
{
    auto decode = [](int value) {
        double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return {decode(red), decode(green), decode(blue)};
}

int LinearToSrgb8(double linear)
{
    double c = Clamp01(linear);
    double encoded = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    return static_cast<int>(std::lround(encoded * 255.0));
}

VyArtMat3 VyArtMat3::Transposed() const
{
    VyArtMat3 t;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            t.m[r][c] = m[c][r];
    return t;
}

bool SolveLinear(double* a, double* b, int n)
{
    for (int col = 0; col < n; ++col)
    {
        int pivot = col;
        for (int row = col + 1; row < n; ++row)
            if (std::fabs(a[row * n + col]) > std::fabs(a[pivot * n + col]))
                pivot = row;
        if (std::fabs(a[pivot * n + col]) < 1e-12)
            return false;
        if (pivot != col)
        {
            for (int k = 0; k < n; ++k)
                std::swap(a[pivot * n + k], a[col * n + k]);
            std::swap(b[pivot], b[col]);
        }
        for (int row = 0; row < n; ++row)
        {
            if (row == col)
                continue;
            double factor = a[row * n + col] / a[col * n + col];
            for (int k = col; k < n; ++k)
                a[row * n + k] -= factor * a[col * n + k];
            b[row] -= factor * b[col];
        }
    }
    for (int row = 0; row < n; ++row)
        b[row] /= a[row * n + row];
    return true;
}
