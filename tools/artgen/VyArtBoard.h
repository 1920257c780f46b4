#pragma once

#include <optional>
#include <vector>

#include "artgen/VyArtCamera.h"
#include "artgen/VyArtImage.h"
#include "artgen/VyArtLight.h"
#include "artgen/VyArtMaterials.h"

// What a point of the board picture shows.
enum class VyArtBoardPart
{
    Backdrop, // the table the board stands on
    Border,   // the board's top between and around the squares (where the highlight outline lies)
    Wall,     // the sloping wall of a square's pocket
    Tile,     // the inlaid stone floor of a square
    Side,     // the board's edge facing the viewer
};

// Marks inlaid in the board's top.
enum class VyArtBoardMarks
{
    None,         // the plain classic board
    BlockCentres, // a small brass stud at each of the nine points where four squares meet: the 2 x 2
                  // blocks of squares count as lines
};

// The board: a wooden slab with sixteen square pockets, each holding a stone tile, standing on a
// plain backdrop. Rendered through the camera that the square table implies, in game-window
// coordinates (x right, y up), and lit by the common light.
class VyArtBoard
{
public:
    VyArtBoard(const VyArtCamera& camera, const VyArtLight& light, VyArtBoardMarks marks = VyArtBoardMarks::None);

    // Colour (linear) seen at a point of the board rectangle (490 x 400 window pixels), and the part
    // seen there.
    VyArtVec3 Shade(VyArtVec2 screen) const;
    VyArtBoardPart PartAt(VyArtVec2 screen) const;

    // The board picture at a file size: each file pixel averages samples x samples points of the part
    // of the board rectangle it is stretched over.
    VyArtImage Render(int width, int height, int samples) const;

    // The plain backdrop colour (what the window shows beside the board).
    VyArtVec3 BackdropColor() const { return m_backdrop; }
    // Width of the rim outside the outer square corners and the slab's thickness, in board units.
    double Margin() const { return m_margin; }
    double Thickness() const { return m_thickness; }

private:
    struct TopSample
    {
        double height;
        VyArtVec3 normal;
        VyArtBoardPart part;
        double occlusion;
    };
    struct Hit
    {
        VyArtVec3 point;
        VyArtVec3 normal;
        VyArtBoardPart part;
    };

    void FitSlabToRectangle();
    bool IntersectSlab(const VyArtVec3& origin, const VyArtVec3& dir, Hit* hit) const;
    TopSample SampleTop(double u, double v) const;
    double TopShadow(const VyArtVec3& point) const;
    VyArtVec3 ShadeTop(const Hit& hit, const VyArtVec3& toViewer) const;
    VyArtVec3 ShadeSide(const Hit& hit, const VyArtVec3& toViewer) const;
    VyArtVec3 ShadeBackdrop(const VyArtVec3& point) const;
    VyArtVec3 TileAlbedo(double u, double v) const;
    // Offset from the nearest stud's centre, in board units; nullopt outside every stud (always
    // without marks).
    std::optional<VyArtVec2> StudOffset(double u, double v) const;
    VyArtVec3 WoodSpace(const VyArtVec3& point) const;

    const VyArtCamera& m_camera;
    const VyArtLight& m_light;
    VyArtBoardMarks m_marks;
    double m_margin = 0.07;
    double m_thickness = 0.3;
    double m_ridge = 0.038;  // half width of the border between two squares
    double m_wall = 0.024;   // width of a pocket's sloping wall
    double m_depth = 0.028;  // depth of a pocket
    double m_round = 0.022;  // radius of the slab's rounded top edge
    double m_stud = 0.03;    // radius of a stud: inside the crossing of two borders (m_ridge * sqrt 2)
    VyArtVec3 m_backdrop;
    VyArtVec3 m_brass;
    VyArtWoodStyle m_wood;
    VyArtStoneStyle m_stone;
    std::vector<VyArtVec3> m_lightSamples; // directions spread over the key light's disc
};
