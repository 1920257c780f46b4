#include "vyrender/VyRenderContext.h"

#include <algorithm>
#include <atomic>
#include <set>

#include "vybitmap/VyRGBIO.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyResourceSource.h"
#include "vyrender/VyFloorDiv.h"
#include "vyrender/VyMarkup.h"
#include "vyrender/VyStandardFonts.h"
#include "vythread/VyException.h"
#include "vythread/VyThread.h"
#include "vythread/VyTrace.h"

namespace
{

std::atomic<VyRenderContext*> g_pCurrentContext{nullptr};

constexpr std::string_view ELLIPSIS = "...";

// The first count text characters of text with the markup before them (and the "<>" prefix).
std::string_view RawPrefix(std::string_view text, int count)
{
    size_t end = VyMarkup::IsMarkedUp(text) ? VyMarkup::PREFIX.size() : 0;
    int seen = 0;
    VyMarkup::ForEach(text, [&](const VyMarkupToken& token) {
        if (seen < count && token.kind == VyMarkupToken::TEXT)
        {
            ++seen;
            end = token.rawEnd;
        }
    });
    return text.substr(0, end);
}

// The largest count in [low, high] for which fits(count) holds; fits(low) must hold and fits must be
// monotone (text widths only grow with more characters).
template <class Fits>
int LargestFitting(int low, int high, Fits fits)
{
    while (low < high)
    {
        int middle = low + (high - low + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

} // namespace

VyRenderContext::VyRenderContext() : m_drawThread(std::this_thread::get_id()) {}

VyRenderContext::~VyRenderContext()
{
    if (GetCurrent() == this)
        SetCurrent(nullptr);
    // A back end shuts down before it goes; whatever is still held cannot be deleted any more.
    m_texture.Orphan();
    for (auto& [name, texture] : m_textureCache)
        texture.Orphan();
    for (auto& [pFont, texture] : m_fontTextures)
        texture.Orphan();
}

VyRenderContext* VyRenderContext::GetCurrent()
{
    return g_pCurrentContext.load();
}

void VyRenderContext::SetCurrent(VyRenderContext* pContext)
{
    g_pCurrentContext.store(pContext);
    VyTextureSource::SetCurrent(pContext);
}

void VyRenderContext::HandleMessage(const VyMessage& msg)
{
    if (msg.id == VY_MSG_RELEASE_TEXTURES)
        ReleaseUnusedTextures();
}

void VyRenderContext::Shutdown()
{
    // Handles held elsewhere (colour-scheme slots, image lists) are orphaned, so that their last release
    // does not reach a context that no longer has the texture.
    std::set<int> deleted;
    auto forget = [&](VyTexture& texture) {
        if (texture.IsValid() && texture.GetUseCount() > 1 && deleted.insert(texture.GetId()).second)
        {
            texture.Orphan();
            DeleteTexture(texture.GetId());
        }
        texture = VyTexture();
    };
    forget(m_texture);
    for (auto& [name, texture] : m_textureCache)
        forget(texture);
    m_textureCache.clear();
    for (auto& [pFont, texture] : m_fontTextures)
        forget(texture);
    m_fontTextures.clear();
    m_pFont = nullptr;
    m_fonts.clear();
    DeletePendingTextures();
}

void VyRenderContext::InitializeCommon(int width, int height)
{
    SetCurrent(this);
    Resize(width, height);
    if (m_fonts.empty())
    {
        for (int id = 0; id < VY_STANDARD_FONT_COUNT; ++id)
        {
            auto pFont = std::make_unique<VyFont>();
            pFont->CreateFont(id, VyStandardFonts::Find(id)->desc, GetFontAntialiasing());
            m_fonts.push_back(std::move(pFont));
        }
    }
    m_pFont = m_fonts[VY_FONT_CONTROL].get();
}

void VyRenderContext::SetPixelFormatText(int bits)
{
    m_pixelFormatText = VyString::Format("%d-bit", bits);
}

void VyRenderContext::SetClipRect(const VyRect& rect)
{
    if (!rect.IsEmpty())
        m_clip = rect;
}

VyRect VyRenderContext::GetClipRect() const
{
    return m_clip;
}

void VyRenderContext::BeginFrame()
{
    DeletePendingTextures();
}

void VyRenderContext::EndFrame() {}

bool VyRenderContext::ReadFrame(rgb& /*image*/)
{
    return false;
}

bool VyRenderContext::SaveScreenshot()
{
    rgb frame;
    if (!ReadFrame(frame))
    {
        VyTrace::Write("VyRenderContext::SaveScreenshot: the frame cannot be read\n");
        return false;
    }
    return frame.Save("screenshot.jpg", 90);
}

bool VyRenderContext::SupportsAlphaBlending() const
{
    return true;
}

const std::vector<std::unique_ptr<VyFont>>& VyRenderContext::GetFonts() const
{
    return m_fonts;
}

void VyRenderContext::TileTexture(const VyRect& rect)
{
    const int tileWidth = m_texture.GetWidth();
    const int tileHeight = m_texture.GetHeight();
    if (!m_texture.IsValid() || tileWidth <= 0 || tileHeight <= 0 || rect.IsEmpty())
        return;
    const int firstX = m_tileOrigin.x + VyFloorDiv(rect.left - m_tileOrigin.x, tileWidth) * tileWidth;
    const int firstY = m_tileOrigin.y + VyFloorDiv(rect.bottom - m_tileOrigin.y, tileHeight) * tileHeight;
    for (int y = firstY; y < rect.top; y += tileHeight)
    {
        const int bottom = std::max(y, rect.bottom);
        const int top = std::min(y + tileHeight, rect.top);
        for (int x = firstX; x < rect.right; x += tileWidth)
        {
            const int left = std::max(x, rect.left);
            const int right = std::min(x + tileWidth, rect.right);
            VyRect source{left - x, top - y, right - x, bottom - y};
            DrawTexture({left, top, right, bottom}, source);
        }
    }
}

void VyRenderContext::SetTileOrigin(VyPoint origin)
{
    m_tileOrigin = origin;
}

void VyRenderContext::SelectTexture(const VyTexture& texture)
{
    m_texture = texture;
}

const VyTexture& VyRenderContext::GetSelectedTexture() const
{
    return m_texture;
}

void VyRenderContext::DrawLine(VyPoint from, VyPoint to)
{
    DrawLine(from.x, from.y, to.x, to.y, VyLineEnd::EXCLUDED);
}

void VyRenderContext::SetColor(const VyColor& color)
{
    m_color = color;
}

const VyColor& VyRenderContext::GetColor() const
{
    return m_color;
}

void VyRenderContext::DrawRect(const VyRect& rect)
{
    if (rect.IsEmpty())
        return;
    FillRect({rect.left, rect.top, rect.left + 1, rect.bottom});
    FillRect({rect.left + 1, rect.top, rect.right - 1, rect.top - 1});
    FillRect({rect.right - 1, rect.top, rect.right, rect.bottom});
    FillRect({rect.left + 1, rect.bottom + 1, rect.right - 1, rect.bottom});
}

namespace
{

// One ring of a 3-D frame: the top row and the left column in topLeft, the bottom row and the right
// column in bottomRight (which also takes the top-right and bottom-left corners).
void FrameRing(VyRenderContext& context, const VyRect& r, const VyColor& topLeft, const VyColor& bottomRight)
{
    if (r.IsEmpty())
        return;
    context.SetColor(topLeft);
    context.FillRect({r.left, r.top, r.right - 1, r.top - 1});
    context.FillRect({r.left, r.top - 1, r.left + 1, r.bottom + 1});
    context.SetColor(bottomRight);
    context.FillRect({r.left, r.bottom + 1, r.right, r.bottom});
    context.FillRect({r.right - 1, r.top, r.right, r.bottom + 1});
}

} // namespace

void VyRenderContext::Draw3DFrame(const VyRect& rect, const VyFrameColors& colors, VyFrameStyle style)
{
    enum { DARK_SHADOW, LIGHT_SHADOW, DARK_HILIGHT, LIGHT_HILIGHT };
    VY_ASSERT(colors.count == 2 || colors.count == 4);
    const VyColor saved = m_color;
    const bool bRaised = style == VyFrameStyle::RAISED;
    const VyColor* c = colors.colors;
    if (colors.count == 4)
    {
        VyRect inner{rect.left + 1, rect.top - 1, rect.right - 1, rect.bottom + 1};
        if (bRaised)
        {
            FrameRing(*this, rect, c[LIGHT_HILIGHT], c[DARK_SHADOW]);
            FrameRing(*this, inner, c[DARK_HILIGHT], c[LIGHT_SHADOW]);
        }
        else
        {
            FrameRing(*this, rect, c[LIGHT_SHADOW], c[DARK_HILIGHT]);
            FrameRing(*this, inner, c[DARK_SHADOW], c[LIGHT_HILIGHT]);
        }
    }
    else if (colors.count == 2)
    {
        FrameRing(*this, rect, bRaised ? c[1] : c[0], bRaised ? c[0] : c[1]);
    }
    m_color = saved;
}

void VyRenderContext::SelectFont(int index)
{
    VY_ASSERT(index >= 0 && index < static_cast<int>(m_fonts.size()));
    if (index >= 0 && index < static_cast<int>(m_fonts.size()))
        m_pFont = m_fonts[static_cast<size_t>(index)].get();
}

void VyRenderContext::SelectFont(VyFont* pFont)
{
    bool bListed = pFont == nullptr ||
                   std::any_of(m_fonts.begin(), m_fonts.end(), [&](const auto& p) { return p.get() == pFont; });
    VY_ASSERT_TEXT(bListed, "font of the font list");
    if (bListed)
        m_pFont = pFont;
}

VyFont* VyRenderContext::GetFont() const
{
    return m_pFont;
}

void VyRenderContext::DrawText(std::string_view text, const VyRect& rect, int flags)
{
    if (flags & VY_TEXT_MEASURE)
        return;
    VyRect box = rect;
    DrawTextBox(text, box, flags);
}

VyString VyRenderContext::CutText(const VyFont& font, std::string_view text, int width) const
{
    const int count = static_cast<int>(VyMarkup::Strip(text).size());
    const int ellipsisWidth = font.GetTextWidth(ELLIPSIS);
    if (ellipsisWidth <= width)
    {
        int kept = LargestFitting(0, count - 1, [&](int n) { return font.GetTextWidth(text, n) + ellipsisWidth <= width; });
        return VyString(RawPrefix(text, kept)) + VyString(ELLIPSIS);
    }
    int kept = LargestFitting(0, count, [&](int n) { return font.GetTextWidth(text, n) <= width; });
    return VyString(RawPrefix(text, kept));
}

void VyRenderContext::DrawTextBox(std::string_view text, VyRect& rect, int flags)
{
    if (m_pFont == nullptr)
        return;
    const VyFont& font = *m_pFont;
    VyString shown(text);
    if ((flags & VY_TEXT_ELLIPSIS) && font.GetTextWidth(text) > rect.Width() && VyMarkup::Strip(text).size() > 1)
        shown = CutText(font, text, rect.Width());
    const int width = font.GetTextWidth(shown);
    const int height = font.GetHeight();
    if (flags & VY_TEXT_MEASURE)
    {
        rect = {rect.left, rect.top, rect.left + width, rect.top - height};
        return;
    }
    int x = rect.left;
    if ((flags & VY_TEXT_HCENTER) == VY_TEXT_HCENTER)
        x = rect.left + (rect.Width() - width) / 2;
    else if (flags & VY_TEXT_RIGHT)
        x = rect.right - width;
    int top = rect.top;
    if ((flags & VY_TEXT_VCENTER) == VY_TEXT_VCENTER)
        top = rect.top - (rect.Height() - height) / 2;
    else if (flags & VY_TEXT_BOTTOM)
        top = rect.bottom + height;
    DrawText(shown, x, top - 1);
}

void VyRenderContext::DrawText(std::string_view text, int x, int y)
{
    if (m_pFont == nullptr)
        return;
    const VyFont& font = *m_pFont;
    VyTexture sheet = GetFontTexture(font);
    if (!sheet.IsValid())
        return;
    const VyColor savedColor = m_color;
    const VyTexture savedTexture = m_texture;
    const bool bSavedBlending = m_bBlending;
    const bool bSavedTexturing = m_bTexturing;
    const int savedMode = m_nImageMode;
    SetBlending(true);
    SetTexturing(true);
    SetImageMode(VY_IMAGE_NORMAL);
    SelectTexture(sheet);

    VyPoint pen{x, y - font.GetAscent() + 1};
    DrawGlyphSteps(font, text, pen);
    SetColor(savedColor);
    if (font.IsUnderline())
        DrawUnderline(font, text, pen);

    SelectTexture(savedTexture);
    SetImageMode(savedMode);
    SetTexturing(bSavedTexturing);
    SetBlending(bSavedBlending);
}

void VyRenderContext::DrawGlyphSteps(const VyFont& font, std::string_view text, VyPoint pen)
{
    const VyColor original = m_color;
    for (const VyGlyphStep& step : font.Layout(text, pen))
    {
        switch (step.kind)
        {
        case VyGlyphStep::GLYPH:
            DrawTexture(step.dest, step.source);
            break;
        case VyGlyphStep::SET_COLOR:
            SetColor(VyColor(step.rgb, 255));
            break;
        case VyGlyphStep::RESTORE_COLOR:
            SetColor(original);
            break;
        }
    }
}

void VyRenderContext::DrawUnderline(const VyFont& font, std::string_view text, VyPoint pen)
{
    const int width = font.GetTextWidth(text);
    if (width <= 0)
        return;
    SetTexturing(false);
    FillRect({pen.x, pen.y - 1, pen.x + width, pen.y - 2});
}

void VyRenderContext::SetBlending(bool bOn)
{
    m_bBlending = bOn;
}

void VyRenderContext::SetTexturing(bool bOn)
{
    m_bTexturing = bOn;
}

void VyRenderContext::SetImageMode(int mode)
{
    m_nImageMode = mode;
}

bool VyRenderContext::GetBlending() const
{
    return m_bBlending;
}

bool VyRenderContext::GetTexturing() const
{
    return m_bTexturing;
}

int VyRenderContext::GetImageMode() const
{
    return m_nImageMode;
}

bool VyRenderContext::IsMainThread() const
{
    return VyThread::IsMainThread();
}

bool VyRenderContext::IsSoftwareRenderer() const
{
    return false;
}

void VyRenderContext::Resize(int width, int height)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_clip = {0, m_height, m_width, 0};
}

// -- Textures -----------------------------------------------------------------------------------------

VyTexture VyRenderContext::MakeTextureHandle(const VyRGBFormat& image)
{
    int id = MakeTexture(image);
    return VyTexture(id, image.Width(), image.Height(), this);
}

VyTexture VyRenderContext::GetTexture(const VyString& name)
{
    if (name.empty())
        return VyTexture();
    auto found = m_textureCache.find(name);
    if (found != m_textureCache.end())
        return found->second;
    VyTexture texture = LoadTexture(name);
    m_textureCache[name] = texture;
    return texture;
}

VyTexture VyRenderContext::LoadTexture(const VyString& name)
{
    if (name == VY_EMPTY_TEXTURE)
        return GetEmptyTexture();
    try
    {
        VyConfigFile config("vyw.cfg");
        VyString path = VyResourceSource::JoinPath(config.GetString("Directories", "Bitmaps", "Bitmaps"), name);
        return MakeTextureHandle(*VyRGBIO::LoadResource(path));
    }
    catch (VyException& e)
    {
        e.AddContext("VyRenderContext", "GetTexture", "Using the empty texture", name);
        e.Report();
    }
    return GetEmptyTexture();
}

VyTexture VyRenderContext::GetEmptyTexture()
{
    const VyString name(VY_EMPTY_TEXTURE);
    auto found = m_textureCache.find(name);
    if (found != m_textureCache.end())
        return found->second;
    // One fully transparent pixel: an image that failed to load shows nothing where blending is on.
    auto image = VyRGBFormat::Create(1, 1, VY_FORMAT_RGBA32, VY_ALIGN_BYTE, 0x00000000);
    VyTexture texture = MakeTextureHandle(*image);
    m_textureCache[name] = texture;
    return texture;
}

void VyRenderContext::ReleaseUnusedTextures()
{
    // An entry whose only other holder is another cache entry (a failed name sharing "empty") is
    // unused too; drop entries until a pass removes nothing.
    bool bRemoved = true;
    while (bRemoved)
    {
        bRemoved = false;
        for (auto it = m_textureCache.begin(); it != m_textureCache.end();)
        {
            long sharing = std::count_if(m_textureCache.begin(), m_textureCache.end(),
                                         [&](const auto& entry) { return entry.second == it->second; });
            if (it->second.GetUseCount() <= sharing)
            {
                it = m_textureCache.erase(it);
                bRemoved = true;
            }
            else
                ++it;
        }
    }
}

void VyRenderContext::ReleaseTexture(int textureId)
{
    if (std::this_thread::get_id() == m_drawThread)
    {
        DeleteTexture(textureId);
        return;
    }
    std::lock_guard<std::mutex> guard(m_releaseLock);
    m_pendingDeletes.push_back(textureId);
}

void VyRenderContext::DeletePendingTextures()
{
    std::vector<int> pending;
    {
        std::lock_guard<std::mutex> guard(m_releaseLock);
        pending.swap(m_pendingDeletes);
    }
    for (int id : pending)
        DeleteTexture(id);
}

// -- Fonts --------------------------------------------------------------------------------------------

VyFontAntialiasing VyRenderContext::GetFontAntialiasing() const
{
    return SupportsAlphaBlending() ? VyFontAntialiasing::SUPPORTED : VyFontAntialiasing::UNSUPPORTED;
}

VyFont* VyRenderContext::GetFont(const VyFontChoice& choice)
{
    if (choice.standard >= 0)
    {
        if (VyStandardFonts::Find(choice.standard) == nullptr ||
            choice.standard >= static_cast<int>(m_fonts.size()))
            return nullptr;
        return m_fonts[static_cast<size_t>(choice.standard)].get();
    }
    VyFontDesc wanted = choice.desc;
    wanted.antialiased = wanted.antialiased && SupportsAlphaBlending();
    for (const auto& pFont : m_fonts)
        if (pFont->GetDesc() == wanted)
            return pFont.get();
    auto pFont = std::make_unique<VyFont>();
    pFont->CreateFont(static_cast<int>(m_fonts.size()), wanted, GetFontAntialiasing());
    return m_fonts[static_cast<size_t>(AddFont(std::move(pFont)))].get();
}

int VyRenderContext::AddFont(std::unique_ptr<VyFont> pFont)
{
    m_fonts.push_back(std::move(pFont));
    return static_cast<int>(m_fonts.size()) - 1;
}

VyTexture VyRenderContext::GetFontTexture(const VyFont& font)
{
    auto found = m_fontTextures.find(&font);
    if (found != m_fontTextures.end())
        return found->second;
    bool bListed = std::any_of(m_fonts.begin(), m_fonts.end(), [&](const auto& p) { return p.get() == &font; });
    const VyRGBFormat* pSheet = font.GetSheet().Image();
    if (!bListed || pSheet == nullptr)
        return VyTexture();
    VyTexture texture = MakeTextureHandle(*pSheet);
    m_fontTextures[&font] = texture;
    return texture;
}

// -- Colours and counters -----------------------------------------------------------------------------

bool VyRenderContext::ResolveColor(const VyColor& color, VyColor& resolved) const
{
    if (!color.IsSlot())
    {
        resolved = color;
        return (color.GetValue() & 0xFF000000) == 0;
    }
    if (!m_slotResolver)
        return false;
    VyColor slot = m_slotResolver(color.GetSlot());
    if (slot.IsSlot() || (slot.GetValue() & 0xFF000000) != 0)
        return false;
    const unsigned alpha = (slot.GetAlpha() * color.GetAlpha() + 127u) / 255u;
    resolved = VyColor(slot.GetValue(), static_cast<unsigned char>(alpha));
    resolved.SetTexture(color.GetTexture().IsValid() ? color.GetTexture() : slot.GetTexture());
    return true;
}

void VyRenderContext::CountFilled(const VyRect& rect)
{
    ++m_statistics.filledQuads;
    m_statistics.filledArea += static_cast<long long>(rect.Width()) * rect.Height();
}

void VyRenderContext::CountTextured(const VyRect& rect)
{
    ++m_statistics.texturedQuads;
    m_statistics.texturedArea += static_cast<long long>(rect.Width()) * std::abs(rect.Height());
}

VyRect VyRenderContext::EffectiveSource(const VyRect& source, int textureWidth, int textureHeight)
{
    if (source.Width() == 0 || source.Height() == 0)
        return {0, textureHeight, textureWidth, 0};
    return source;
}

void VyRenderContext::TileColorTexture(const VyRect& rect, const VyColor& resolved)
{
    const VyColor savedColor = m_color;
    const VyTexture savedTexture = m_texture;
    const bool bSavedBlending = m_bBlending;
    const bool bSavedTexturing = m_bTexturing;
    const int savedMode = m_nImageMode;
    SetColor(VyColor(0xFFFFFF, resolved.GetAlpha()));
    SelectTexture(resolved.GetTexture());
    SetTexturing(true);
    SetBlending(resolved.GetAlpha() != 255);
    SetImageMode(VY_IMAGE_NORMAL);
    TileTexture(rect);
    SelectTexture(savedTexture);
    SetColor(savedColor);
    SetImageMode(savedMode);
    SetTexturing(bSavedTexturing);
    SetBlending(bSavedBlending);
}

void VyRenderContext::FillRect(const VyRect& rect)
{
    VyColor color;
    if (rect.IsEmpty() || !ResolveCurrentColor(color))
        return;
    if (color.GetTexture().IsValid())
    {
        TileColorTexture(rect, color);
        return;
    }
    CountFilled(rect);
    FillSolid(rect, color);
}
