#include "vyrender/VyOpenGL.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vythread/VyException.h"
#include "vythread/VyTrace.h"

// Every entry point the context calls, resolved by name at construction.
#define VY_GL_ENTRY_POINTS(X) \
    X(glAlphaFunc)            \
    X(glBegin)                \
    X(glBindTexture)          \
    X(glBlendFunc)            \
    X(glCallList)             \
    X(glClearColor)           \
    X(glClipPlane)            \
    X(glColor4f)              \
    X(glCopyTexSubImage2D)    \
    X(glDeleteLists)          \
    X(glDeleteTextures)       \
    X(glDepthFunc)            \
    X(glDisable)              \
    X(glEnable)               \
    X(glEnd)                  \
    X(glEndList)              \
    X(glFlush)                \
    X(glGenLists)             \
    X(glGenTextures)          \
    X(glGetError)             \
    X(glGetString)            \
    X(glGetTexImage)          \
    X(glIsEnabled)            \
    X(glLoadIdentity)         \
    X(glMatrixMode)           \
    X(glNewList)              \
    X(glOrtho)                \
    X(glPixelStorei)          \
    X(glPolygonOffset)        \
    X(glReadPixels)           \
    X(glShadeModel)           \
    X(glTexCoord2f)           \
    X(glTexEnvf)              \
    X(glTexImage2D)           \
    X(glTexParameterf)        \
    X(glVertex2f)             \
    X(glViewport)

struct VyOpenGL::Functions
{
#define VY_GL_DECLARE(name) decltype(&::name) name = nullptr;
    VY_GL_ENTRY_POINTS(VY_GL_DECLARE)
#undef VY_GL_DECLARE
    VyString vendor;
    VyString renderer;
};

namespace
{

template <class Function>
void LoadFunc(Function& function, const char* name, const VyGLProcResolver& resolver)
{
    void* pAddress = resolver(name);
    if (pAddress == nullptr)
        throw VyException("VyOpenGL", "LoadFunc", VyString("Failed to load ") + name);
    function = reinterpret_cast<Function>(pAddress);
}

// How an image kind goes to OpenGL.
struct UploadFormat
{
    GLint internalFormat;
    GLenum format;
    int bytesPerPixel;
};

bool UploadFormatOf(int formatId, UploadFormat& upload)
{
    switch (formatId)
    {
    case VY_FORMAT_MONO: // sent as bytes 0 / 255 (OpenGL takes GL_BITMAP data only for index formats)
        upload = {GL_RGBA, GL_LUMINANCE, 1};
        return true;
    case VY_FORMAT_RGB24:
        upload = {GL_RGB, GL_RGB, 3};
        return true;
    case VY_FORMAT_RGB32:
        upload = {GL_RGB, GL_RGBA, 4};
        return true;
    case VY_FORMAT_RGBA32:
        upload = {GL_RGBA, GL_RGBA, 4};
        return true;
    case VY_FORMAT_GREY8:
    case VY_FORMAT_ALPHA8:
        upload = {GL_INTENSITY, GL_LUMINANCE, 1};
        return true;
    case VY_FORMAT_GREY_ALPHA16:
        upload = {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, 2};
        return true;
    default:
        return false;
    }
}

// The image's pixel bytes with rows padded to 4 bytes (the unpack alignment), bottom row first.
// Returns the image's own buffer when it is laid out so already.
const uint8_t* UploadBytes(const VyRGBFormat& image, const UploadFormat& upload, std::vector<uint8_t>& scratch)
{
    const int rowBytes = upload.bytesPerPixel * image.Width();
    const int pitch = (rowBytes + 3) & ~3;
    const bool bMono = image.FormatId() == VY_FORMAT_MONO;
    if (!bMono && image.Pitch() == pitch)
        return image.Buffer();
    scratch.assign(static_cast<size_t>(pitch) * static_cast<size_t>(image.Height()), 0);
    for (int y = 0; y < image.Height(); ++y)
    {
        uint8_t* pRow = scratch.data() + static_cast<ptrdiff_t>(y) * pitch;
        if (!bMono)
            std::memcpy(pRow, image.Row(y), static_cast<size_t>(rowBytes));
        else
            for (int x = 0; x < image.Width(); ++x)
                pRow[x] = static_cast<uint8_t>(VyRedOf(image.GetPixel(x, y)) ? 255 : 0);
    }
    return scratch.data();
}

// The smallest power of two at least side (textures of OpenGL 1.1 have such sides).
int PowerOfTwoAtLeast(int side)
{
    int power = 1;
    while (power < side)
        power *= 2;
    return power;
}

} // namespace

VyOpenGL::VyOpenGL(VyGLProcResolver resolver) : m_pGL(std::make_unique<Functions>())
{
    if (!resolver)
        resolver = [](const char* name) { return SDL_GL_GetProcAddress(name); };
#define VY_GL_LOAD(name) LoadFunc(m_pGL->name, #name, resolver);
    VY_GL_ENTRY_POINTS(VY_GL_LOAD)
#undef VY_GL_LOAD
}

VyOpenGL::~VyOpenGL()
{
    VyOpenGL::Shutdown();
}

void VyOpenGL::Shutdown()
{
    EndPrimitive();
    DeleteScaleTexture();
    VyRenderContext::Shutdown();
}

void VyOpenGL::Initialize(int width, int height, int bits, bool /*bFullScreen*/)
{
    Functions& gl = *m_pGL;
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    gl.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl.glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    gl.glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    gl.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl.glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    gl.glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    gl.glShadeModel(GL_FLAT);
    gl.glDepthFunc(GL_LESS);
    gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.glEnable(GL_COLOR_MATERIAL);
    gl.glEnable(GL_CULL_FACE);
    gl.glAlphaFunc(GL_GREATER, 0.0625f);
    gl.glPolygonOffset(0.0f, -3.0f);
    gl.glDisable(GL_BLEND);
    gl.glDisable(GL_ALPHA_TEST);
    gl.glDisable(GL_TEXTURE_2D);
    gl.glDisable(GL_DEPTH_TEST);
    m_bGLBlending = m_bGLTexturing = false;
    m_bBlending = m_bTexturing = false;
    m_nBoundTexture = -1;
    const auto text = [&](GLenum name) {
        const GLubyte* pText = gl.glGetString(name);
        return pText ? VyString(reinterpret_cast<const char*>(pText)) : VyString();
    };
    gl.vendor = text(GL_VENDOR);
    gl.renderer = text(GL_RENDERER);
    SetPixelFormatText(bits);
    InitializeCommon(width, height);
}

VyString VyOpenGL::GetRendererName() const
{
    return "OpenGL (" + m_pGL->vendor + ")";
}

VyString VyOpenGL::GetRendererString() const
{
    return m_pGL->renderer;
}

// -- State --------------------------------------------------------------------------------------------

void VyOpenGL::BeginPrimitive(int mode)
{
    VY_ASSERT_TEXT(mode != -1, "mode!=-1");
    if (mode == -1)
        return;
    if (m_bBlending != m_bGLBlending || m_bTexturing != m_bGLTexturing)
        ApplyPendingState();
    if (m_nOpenMode == mode)
        return;
    EndPrimitive();
    m_pGL->glBegin(static_cast<GLenum>(mode));
    m_nOpenMode = mode;
    ++m_nBeginCount;
}

void VyOpenGL::EndPrimitive()
{
    if (m_nOpenMode == -1)
        return;
    m_pGL->glEnd();
    m_nOpenMode = -1;
}

void VyOpenGL::ApplyPendingState()
{
    EndPrimitive();
    Functions& gl = *m_pGL;
    if (m_bBlending != m_bGLBlending)
    {
        // The alpha test goes with blending, so that nearly transparent texels leave nothing behind.
        auto toggle = m_bBlending ? gl.glEnable : gl.glDisable;
        toggle(GL_BLEND);
        toggle(GL_ALPHA_TEST);
        m_bGLBlending = m_bBlending;
        ++m_nStateChanges;
    }
    if (m_bTexturing != m_bGLTexturing)
    {
        (m_bTexturing ? gl.glEnable : gl.glDisable)(GL_TEXTURE_2D);
        m_bGLTexturing = m_bTexturing;
        ++m_nStateChanges;
    }
}

void VyOpenGL::SelectTexture(const VyTexture& texture)
{
    VyRenderContext::SelectTexture(texture);
    if (texture.IsValid() && texture.GetId() != m_nBoundTexture)
    {
        EndPrimitive();
        m_pGL->glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture.GetId()));
        m_nBoundTexture = texture.GetId();
        ++m_nStateChanges;
    }
}

void VyOpenGL::SetProjection(const VyRect& area)
{
    EndPrimitive();
    Functions& gl = *m_pGL;
    gl.glViewport(area.left, area.bottom, area.Width(), area.Height());
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(area.left, area.right, area.bottom, area.top, -1.0, 1.0);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    ++m_nStateChanges;
}

void VyOpenGL::SetClipRect(const VyRect& rect)
{
    if (rect.IsEmpty())
        return;
    VyRenderContext::SetClipRect(rect);
    SetProjection(rect);
}

void VyOpenGL::Resize(int width, int height)
{
    VyRenderContext::Resize(width, height);
    SetProjection(m_clip);
    PrepareScaleTexture();
}

void VyOpenGL::BeginFrame()
{
    VyRenderContext::BeginFrame();
    m_bInFrame = true;
    m_bBlownUp = false;
}

void VyOpenGL::EndFrame()
{
    EndPrimitive();
    if (m_bScreenshotPending)
    {
        // Before the blow-up: the screenshot is of the frame, not of the window.
        m_bScreenshotPending = false;
        VyRenderContext::SaveScreenshot();
    }
    if (m_nScaleTexture != 0)
        BlowUpFrame();
    m_pGL->glFlush();
    m_bInFrame = false;
}

// -- Display scale ------------------------------------------------------------------------------------

void VyOpenGL::PrepareScaleTexture()
{
    const int width = PowerOfTwoAtLeast(m_width), height = PowerOfTwoAtLeast(m_height);
    if (m_nDisplayScale <= 1 || m_width <= 0 || m_height <= 0)
        return DeleteScaleTexture();
    if (m_nScaleTexture != 0 && width == m_nScaleTextureWidth && height == m_nScaleTextureHeight)
        return;
    DeleteScaleTexture();
    Functions& gl = *m_pGL;
    const GLuint id = NewBoundTexture();
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    const GLenum error = gl.glGetError();
    if (error != GL_NO_ERROR)
    {
        DeleteTexture(static_cast<int>(id));
        throw VyException("VyOpenGL", "Resize",
                          VyString::Format("The frame cannot be scaled : OpenGL error 0x%04X", error));
    }
    m_nScaleTexture = id;
    m_nScaleTextureWidth = width;
    m_nScaleTextureHeight = height;
}

void VyOpenGL::DeleteScaleTexture()
{
    if (m_nScaleTexture == 0)
        return;
    DeleteTexture(static_cast<int>(m_nScaleTexture));
    m_nScaleTexture = 0;
    m_nScaleTextureWidth = m_nScaleTextureHeight = 0;
    m_bBlownUp = false;
}

void VyOpenGL::BindScaleTexture()
{
    m_pGL->glBindTexture(GL_TEXTURE_2D, m_nScaleTexture);
    m_nBoundTexture = static_cast<int>(m_nScaleTexture); // the next SelectTexture binds its own again
}

void VyOpenGL::BlowUpFrame()
{
    // The frame was drawn into the bottom-left corner of the window's buffer; it is copied out and drawn
    // back over the whole window, every texel on a factor x factor block (nearest sampling hits the
    // texel whose block holds each pixel's centre).
    Functions& gl = *m_pGL;
    BindScaleTexture();
    gl.glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, m_width, m_height);
    const VyRect window{0, m_height * m_nDisplayScale, m_width * m_nDisplayScale, 0};
    SetProjection(window);
    gl.glDisable(GL_BLEND);
    gl.glDisable(GL_ALPHA_TEST);
    gl.glEnable(GL_TEXTURE_2D);
    gl.glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    gl.glBegin(GL_QUADS);
    TexturedQuad(window, 0.0f, 0.0f, static_cast<float>(m_width) / m_nScaleTextureWidth,
                 static_cast<float>(m_height) / m_nScaleTextureHeight);
    gl.glEnd();
    // Back to the state the drawing left.
    if (m_bGLBlending)
    {
        gl.glEnable(GL_BLEND);
        gl.glEnable(GL_ALPHA_TEST);
    }
    if (!m_bGLTexturing)
        gl.glDisable(GL_TEXTURE_2D);
    SetProjection(m_clip);
    m_bBlownUp = true;
}

void VyOpenGL::ReadScaleTexture(VyRGBFormat& frame)
{
    const int pitch = (3 * m_nScaleTextureWidth + 3) & ~3; // GL_PACK_ALIGNMENT 4
    std::vector<uint8_t> texels(static_cast<size_t>(pitch) * static_cast<size_t>(m_nScaleTextureHeight));
    BindScaleTexture();
    m_pGL->glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    for (int y = 0; y < m_height; ++y)
        std::memcpy(frame.Row(y), texels.data() + static_cast<ptrdiff_t>(y) * pitch, static_cast<size_t>(3 * m_width));
}

bool VyOpenGL::SaveScreenshot()
{
    if (m_bInFrame)
        return VyRenderContext::SaveScreenshot();
    m_bScreenshotPending = true;
    return true;
}

bool VyOpenGL::ReadFrame(rgb& image)
{
    if (m_width <= 0 || m_height <= 0)
        return false;
    EndPrimitive();
    auto pFrame = VyRGBFormat::Create(m_width, m_height, VY_FORMAT_RGB24, VY_ALIGN_32);
    if (m_bBlownUp)
        ReadScaleTexture(*pFrame); // the window's buffer holds the blown-up frame now
    else
        m_pGL->glReadPixels(0, 0, m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, pFrame->Buffer());
    image.Reset(std::move(pFrame));
    return true;
}

// -- Drawing ------------------------------------------------------------------------------------------

void VyOpenGL::SetGLColor(const VyColor& color)
{
    m_pGL->glColor4f(color.GetRed() / 255.0f, color.GetGreen() / 255.0f, color.GetBlue() / 255.0f,
                     color.GetAlpha() / 255.0f);
}

void VyOpenGL::Quad(const VyRect& r)
{
    Functions& gl = *m_pGL;
    const auto left = static_cast<GLfloat>(r.left), right = static_cast<GLfloat>(r.right);
    const auto top = static_cast<GLfloat>(r.top), bottom = static_cast<GLfloat>(r.bottom);
    gl.glVertex2f(left, top);
    gl.glVertex2f(left, bottom);
    gl.glVertex2f(right, bottom);
    gl.glVertex2f(right, top);
}

void VyOpenGL::TexturedQuad(const VyRect& r, float s0, float t0, float s1, float t1)
{
    Functions& gl = *m_pGL;
    const auto left = static_cast<GLfloat>(r.left), right = static_cast<GLfloat>(r.right);
    const auto top = static_cast<GLfloat>(r.top), bottom = static_cast<GLfloat>(r.bottom);
    gl.glTexCoord2f(s0, t1);
    gl.glVertex2f(left, top);
    gl.glTexCoord2f(s0, t0);
    gl.glVertex2f(left, bottom);
    gl.glTexCoord2f(s1, t0);
    gl.glVertex2f(right, bottom);
    gl.glTexCoord2f(s1, t1);
    gl.glVertex2f(right, top);
}

void VyOpenGL::FillSolid(const VyRect& rect, const VyColor& color)
{
    const bool bBlending = m_bBlending, bTexturing = m_bTexturing;
    SetBlending(color.GetAlpha() != 255);
    SetTexturing(false);
    BeginPrimitive(GL_QUADS);
    SetGLColor(color);
    Quad(rect);
    SetTexturing(bTexturing);
    SetBlending(bBlending);
}

void VyOpenGL::DrawTexture(const VyRect& dest, const VyRect& source)
{
    VyColor color;
    const int width = m_texture.GetWidth(), height = m_texture.GetHeight();
    if (!m_texture.IsValid() || width <= 0 || height <= 0 || dest.IsEmpty() || !ResolveCurrentColor(color))
        return;
    VY_ASSERT_TEXT(m_nImageMode == VY_IMAGE_NORMAL || m_nImageMode == VY_IMAGE_HIGHLIGHT, "false");
    if (m_nImageMode != VY_IMAGE_NORMAL && m_nImageMode != VY_IMAGE_HIGHLIGHT)
        return;
    CountTextured(dest);
    SelectTexture(m_texture); // binds it when another texture was bound since
    const VyRect area = EffectiveSource(source, width, height);
    const float s0 = static_cast<float>(area.left) / width, s1 = static_cast<float>(area.right) / width;
    const float t0 = static_cast<float>(area.bottom) / height, t1 = static_cast<float>(area.top) / height;
    const bool bBlending = m_bBlending, bTexturing = m_bTexturing;
    SetTexturing(true);
    BeginPrimitive(GL_QUADS);
    if (m_nImageMode == VY_IMAGE_NORMAL)
    {
        SetGLColor(color);
        TexturedQuad(dest, s0, t0, s1, t1);
    }
    else
    {
        SetGLColor(VyColor(0xFFFFFF, 255));
        TexturedQuad(dest, s0, t0, s1, t1);
        EndPrimitive();
        m_pGL->glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        SetBlending(true);
        BeginPrimitive(GL_QUADS);
        SetGLColor(color);
        TexturedQuad(dest, s0, t0, s1, t1);
        EndPrimitive();
        m_pGL->glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        m_nStateChanges += 2;
    }
    SetTexturing(bTexturing);
    SetBlending(bBlending);
}

void VyOpenGL::DrawPolygon(const VyPoint* points, int count, VyPolygonStyle style)
{
    VyColor color;
    if (points == nullptr || count <= 0 || !ResolveCurrentColor(color))
        return;
    if (style == VyPolygonStyle::OUTLINE)
    {
        SetGLColor(color);
        DrawOutline(points, count);
        return;
    }
    if (count < 3)
        return;
    // Faces are culled: the polygon is sent counter-clockwise whichever way its points run.
    long long twiceArea = 0;
    for (int i = 0; i < count; ++i)
    {
        const VyPoint& a = points[i];
        const VyPoint& b = points[(i + 1) % count];
        twiceArea += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
    }
    const bool bTexturing = m_bTexturing;
    SetTexturing(false);
    EndPrimitive(); // every polygon needs its own glBegin
    BeginPrimitive(GL_POLYGON);
    SetGLColor(color);
    for (int i = 0; i < count; ++i)
    {
        const VyPoint& p = points[twiceArea >= 0 ? i : count - 1 - i];
        m_pGL->glVertex2f(static_cast<GLfloat>(p.x), static_cast<GLfloat>(p.y));
    }
    EndPrimitive();
    SetTexturing(bTexturing);
}

void VyOpenGL::DrawOutline(const VyPoint* points, int count)
{
    // Segment by segment rather than as one line strip, so that every segment follows the line rule of
    // DrawLine exactly as the software contexts draw it.
    const bool bTexturing = m_bTexturing;
    SetTexturing(false);
    for (int i = 0; i < count; ++i)
    {
        const VyPoint& a = points[i];
        const VyPoint& b = points[(i + 1) % count];
        Segment(a.x, a.y, b.x, b.y, false);
    }
    SetTexturing(bTexturing);
}

void VyOpenGL::DrawLine(int x1, int y1, int x2, int y2, VyLineEnd end)
{
    VyColor color;
    if (!ResolveCurrentColor(color))
        return;
    const bool bTexturing = m_bTexturing;
    SetTexturing(false);
    SetGLColor(color);
    Segment(x1, y1, x2, y2, end == VyLineEnd::INCLUDED);
    SetTexturing(bTexturing);
}

void VyOpenGL::Segment(int x1, int y1, int x2, int y2, bool bIncludeEnd)
{
    // Sent from the lower end along the major axis (x when |dx| > |dy|), which OpenGL draws, to the
    // other, which it leaves out.
    const bool bXMajor = std::abs(x2 - x1) > std::abs(y2 - y1);
    if (bXMajor ? x2 < x1 : y2 < y1)
    {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (x1 == x2 || y1 == y2)
    {
        // Exactly the pixels of the row or column, as one quad.
        const int right = bIncludeEnd || !bXMajor ? x2 + 1 : x2, top = bIncludeEnd || bXMajor ? y2 + 1 : y2;
        if (right > x1 && top > y1)
        {
            BeginPrimitive(GL_QUADS);
            Quad({x1, top, right, y1});
        }
        return;
    }
    BeginPrimitive(GL_LINES);
    m_pGL->glVertex2f(x1 + 0.5f, y1 + 0.5f);
    m_pGL->glVertex2f(x2 + 0.5f, y2 + 0.5f);
    if (bIncludeEnd)
    {
        BeginPrimitive(GL_QUADS);
        Quad({x2, y2 + 1, x2 + 1, y2});
    }
}

void VyOpenGL::DrawPoints(const VyPoint* points, int count)
{
    VyColor color;
    if (points == nullptr || count <= 0 || !ResolveCurrentColor(color))
        return;
    const bool bTexturing = m_bTexturing;
    SetTexturing(false);
    BeginPrimitive(GL_POINTS);
    SetGLColor(color);
    for (int i = 0; i < count; ++i)
        m_pGL->glVertex2f(points[i].x + 0.5f, points[i].y + 0.5f);
    SetTexturing(bTexturing);
}

// -- Textures -----------------------------------------------------------------------------------------

// A new texture, bound, sampled nearest; the errors earlier calls left are dropped first, so that the
// caller's glGetError after its upload speaks of the upload alone.
unsigned int VyOpenGL::NewBoundTexture()
{
    Functions& gl = *m_pGL;
    EndPrimitive();
    for (int i = 0; i < 16 && gl.glGetError() != GL_NO_ERROR; ++i)
    {
        // drops errors left over from earlier calls
    }
    GLuint id = 0;
    gl.glGenTextures(1, &id);
    gl.glBindTexture(GL_TEXTURE_2D, id);
    m_nBoundTexture = static_cast<int>(id);
    gl.glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_NEAREST));
    gl.glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_NEAREST));
    return id;
}

int VyOpenGL::MakeTexture(const VyRGBFormat& image)
{
    UploadFormat upload{};
    if (!UploadFormatOf(image.FormatId(), upload) || !image.HasPixels())
        throw VyException("VyOpenGL", "MakeTexture", "Unsupported texture format");
    std::vector<uint8_t> scratch;
    const uint8_t* pBytes = UploadBytes(image, upload, scratch);
    Functions& gl = *m_pGL;
    const GLuint id = NewBoundTexture();
    gl.glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
    gl.glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_REPEAT));
    gl.glTexImage2D(GL_TEXTURE_2D, 0, upload.internalFormat, image.Width(), image.Height(), 0, upload.format,
                    GL_UNSIGNED_BYTE, pBytes);
    GLenum error = gl.glGetError();
    if (error != GL_NO_ERROR)
    {
        DeleteTexture(static_cast<int>(id));
        throw VyException("VyOpenGL", "MakeTexture", VyString::Format("OpenGL error 0x%04X", error));
    }
    return static_cast<int>(id);
}

void VyOpenGL::DeleteTexture(int textureId)
{
    if (textureId < 0)
        return;
    EndPrimitive();
    GLuint id = static_cast<GLuint>(textureId);
    m_pGL->glDeleteTextures(1, &id);
    if (m_nBoundTexture == textureId)
        m_nBoundTexture = -1;
}
