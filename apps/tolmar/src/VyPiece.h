#pragma once

#include <memory>

#include "VyGameTypes.h"
#include "VyPieceMover.h"
#include "VyPieceSet.h"
#include "vycontrol/VyImage.h"

// One piece of the game as a child window of the game window: it shows the normal or the greyed
// picture of its piece (VySetImages) in its rectangle, tinted while it is disabled, and moves across
// the game window on a 50 ms timer.
//
// Input: a piece is hit only where its shown picture is not transparent (the normal picture's key
// colour, the greyed picture's zero alpha), so a click between the pieces of a row chooses nothing.
// Releasing a mouse button over it, or the space key while it has the focus, posts VY_MSG_COMMAND with
// its identifier (200 + piece number) to its parent. A disabled piece takes no mouse input.
//
// Movements put the piece's anchor (lower-left corner + the piece's centre offset) on a point of the
// parent's client area. Each ends by posting MSG_MOVE_DONE (param1 = the piece's index, param2 = the
// index + 1) to the parent exactly once, never from inside MoveTo; JumpTo reports nothing and ends a
// running movement silently, and takes back the report of an ended movement that is still queued, so
// that no report reaches the parent for a movement that a jump or a new movement replaced.
class VyPiece : public VyImage
{
public:
    // index is the piece's index in the set (its number - 1); images must hold it.
    VyPiece(int index, std::shared_ptr<const VySetImages> images, uint32_t colorMask, VyPoint center);
    ~VyPiece() override;

    int GetIndex() const { return m_index; }
    // The window's size for its pictures (zero when the set has none).
    VySize GetPictureSize() const;
    // The window's rectangle with the anchor at point.
    VyRect RectForAnchor(VyPoint anchor) const;

    void ShowImage(VyPieceImage image);
    VyPieceImage GetImage() const { return m_image; }

    // Starts a movement of the anchor to target: TRAVEL at speed pixels per second (a negative speed
    // jumps), STAY_IN_PLACE reports the end without moving. Replaces a running movement, whose end
    // is then not reported.
    void MoveTo(VyPoint target, float speed, VyMoveStyle style);
    // Puts the anchor on target at once; a running movement ends without a report.
    void JumpTo(VyPoint target);
    bool IsMoving() const { return m_bMoving; }
    // The smallest rectangle (parent coordinates) around the shown picture's pixels that are not
    // transparent; empty when it has none.
    VyRect GetShownBounds() const;
    // The anchor where the window stands now.
    VyPoint GetAnchor() const;

    void HandleMessage(const VyMessage& msg) override;
    bool ContainsPoint(VyPoint point) const override;
    void OnButtonReleased(VyPoint point, int flags) override;
    void OnUnhandledKey(int key, int flags) override;
    // Tab goes on to the game window, which walks the pieces.
    bool FilterKey(int key, int flags) override;
    // The game window decides: the busy cursor while it is busy, else the default one.
    void UpdateCursor() override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void ReleaseTextures() override;

    static constexpr int VY_FIRST_PIECE_ID = 201;
    static constexpr int VY_MOVE_TIMER = 1;
    static constexpr int VY_MOVE_TICK_MS = 50;

private:
    const rgb* ShownPicture() const;
    bool IsShownPixel(int x, int y) const;
    void LoadTextures(VyRenderContext& context);
    void PlaceAt(VyPoint windowPosition);
    void Step();
    void ReportMoveDone();
    void TakeBackReport();
    void SendCommand();

    int m_index;
    std::shared_ptr<const VySetImages> m_pImages;
    uint32_t m_colorMask;
    VyPoint m_center;
    VyPieceImage m_image = VyPieceImage::NORMAL;
    VyTexture m_textures[2];
    bool m_bTexturesMade = false;
    VyPieceMover m_mover;
    bool m_bMoving = false;
};
