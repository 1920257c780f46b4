#pragma once

#include "artgen/VyArtClassicSet.h"
#include "artgen/VyArtMath.h"

// The perspective camera the board is seen through, recovered from the corner points of the
// squares. Board coordinates: u along a row of squares (square 1 towards square 4), v along a column
// (square 1 towards square 13), h up from the board's top; one square is one unit, so the corner
// lattice[i][j] lies at (u, v, h) = (j, i, 0). Screen coordinates are the game window's (y up).
//
// A pinhole camera with square pixels cannot pass exactly through table points that were measured to
// the pixel, so the camera leaves residuals of about a pixel. Warp() spreads those residuals smoothly
// over the picture; drawing through the warped rays puts every square corner on its table point.
class VyArtCamera
{
public:
    // Fits the camera to the lattice: a plane homography by least squares, then the focal length,
    // principal point and pose that the homography implies.
    static VyArtCamera Fit(const VyArtLattice& lattice);

    // Screen point of a board point through the pinhole camera (no warp).
    VyArtVec2 Project(const VyArtVec3& board) const;
    // Screen point of a board point, warp included (lands on the lattice at the corners).
    VyArtVec2 ProjectWarped(const VyArtVec3& board) const;
    // Camera position in board coordinates.
    VyArtVec3 Position() const { return m_position; }
    // Unit direction, in board coordinates, of the ray that the warped picture shows at a screen point.
    VyArtVec3 RayDirection(VyArtVec2 screen) const;
    // Largest distance between a lattice point and its unwarped projection, in pixels.
    double MaxResidual() const { return m_maxResidual; }

    double FocalLength() const { return m_focal; }
    VyArtVec2 PrincipalPoint() const { return m_principal; }
    // Board-to-camera rotation; its rows are the camera's right, up and forward axes in board units.
    const VyArtMat3& Rotation() const { return m_rotation; }
    // Screen pixels per board unit at the middle of the board.
    double PixelsPerUnit() const;
    // Elevation of the view above the board plane at the middle of the board, in degrees.
    double ElevationDegrees() const;

private:
    VyArtVec3 ToCamera(const VyArtVec3& board) const;
    // Where the unwarped ray through a screen point meets the plane h = 0 (u, v).
    VyArtVec2 PlanePoint(VyArtVec2 screen) const;
    // Residual offset (pixels) at a board plane point, interpolated over the lattice.
    VyArtVec2 ResidualAt(VyArtVec2 plane) const;
    VyArtVec3 UnwarpedRay(VyArtVec2 screen) const;

    double m_focal = 1.0;
    VyArtVec2 m_principal;
    VyArtMat3 m_rotation;
    VyArtVec3 m_translation;
    VyArtVec3 m_position;
    VyArtVec2 m_residual[5][5] = {};
    double m_maxResidual = 0.0;
};
