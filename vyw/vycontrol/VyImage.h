#pragma once

#include <optional>

#include "vycontrol/VyControl.h"
#include "vyutil/VyTexture.h"
#include "vywindow/VyFrameWnd.h"

// With this style bit an image's height follows its picture (at the control's width).
constexpr uint32_t VY_IMAGE_AUTO_HEIGHT = 0x1000000;

// A picture from the bitmap directory ([Directories] Bitmaps of vyw.cfg, default "Bitmaps"), drawn as
// large as fits the client area with its shape kept, centred. A transparent colour, when given, is
// left out of it. A picture that cannot be loaded is reported and shows nothing.
class VyImage : public VyFrameWnd, public VyControl
{
public:
    VyImage() = default;

    // The bitmap's file name, and the colour (0xRRGGBB) that is transparent in it.
    void SetBitmap(const VyString& name, std::optional<uint32_t> transparent);
    const VyString& GetBitmapName() const { return m_name; }
    // The picture's size, known once it was loaded (zero before, or when it cannot be).
    VySize GetPictureSize() const { return m_size; }

    void Relayout() override;
    bool IsControl() const override { return true; }
    void Resize(int width, int height) override;
    void DrawContent(VyRenderContext& context, const VyRect& clientRect) override;
    void ReleaseTextures() override;

protected:
    int DefaultSlot(VyControlColor role) const override;
    const VyWnd& ControlWindow() const override { return *this; }

private:
    void Load(VyRenderContext& context);

    VyString m_name;
    std::optional<uint32_t> m_transparent;
    VyTexture m_texture;
    VySize m_size;
    bool m_bTried = false;
    bool m_bLayingOut = false;
};
