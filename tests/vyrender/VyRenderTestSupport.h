#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "vybitmap/VyBitmap.h"
#include "vybitmap/rgb.h"
#include "vyio/VyArchiveSource.h"
#include "vyio/VyMemFile.h"
#include "vythread/VyTraceCapture.h"

// Fetches resources (the fonts) from the archive the build made, and from nowhere else.
class VyTestArchiveSource : public VyArchiveSource
{
public:
#ifdef VYW_TEST_ARCHIVE
    VyTestArchiveSource() : VyArchiveSource(VYW_TEST_ARCHIVE) {}
#endif
    bool IsOpen() const { return HasArchive(); }
};

// Serves the files put into it from memory (found by path in any case) and records every path asked
// for. Anything else comes from the test archive when made with FROM_ARCHIVE, and is not found
// otherwise. Installed as the current resource source for its lifetime.
class VyTestMemorySource : public VyResourceSource
{
public:
    enum class Rest
    {
        NOT_FOUND,
        FROM_ARCHIVE,
    };

    explicit VyTestMemorySource(Rest rest = Rest::NOT_FOUND)
    {
#ifdef VYW_TEST_ARCHIVE
        if (rest == Rest::FROM_ARCHIVE)
            m_pArchive = std::make_unique<VyTestArchiveSource>();
#else
        (void)rest;
#endif
        m_pPrevious = GetCurrent();
        SetCurrent(this);
    }
    ~VyTestMemorySource() override { SetCurrent(m_pPrevious); }
    VyTestMemorySource(const VyTestMemorySource&) = delete;
    VyTestMemorySource& operator=(const VyTestMemorySource&) = delete;

    void GetResourceFile(const VyString& path, VyIO& out) override
    {
        m_requests.push_back(path);
        auto found = m_files.find(path.Lower());
        if (found != m_files.end())
        {
            out.Write(found->second.data(), static_cast<int>(found->second.size()));
            out.SeekToBegin();
        }
        else if (m_pArchive)
            m_pArchive->GetResourceFile(path, out);
        else
            ThrowNotFound(path);
    }

    // Whether the test archive is there to serve the rest.
    bool IsOpen() const { return m_pArchive && m_pArchive->IsOpen(); }

    // Serves the image as a BMP file at path.
    void AddBitmap(const VyString& path, const VyRGBFormat& image)
    {
        VyMemFile file(VY_IO_WRITE);
        VyBitmap::SaveWinBitmap(image, file);
        m_files[path.Lower()] = VyString(file.GetView());
    }

    std::map<VyString, VyString> m_files; // by lower-case path
    std::vector<VyString> m_requests;

private:
    std::unique_ptr<VyTestArchiveSource> m_pArchive;
    VyResourceSource* m_pPrevious = nullptr;
};

// One hidden window with a current OpenGL compatibility context, shared by every test of the program
// (made on first use; SDL_VIDEODRIVER=offscreen unless the environment names another driver).
class VyTestGLWindow
{
public:
    static constexpr int WIDTH = 320;
    static constexpr int HEIGHT = 240;

    // The window, or null (with the reason in GetError) when no OpenGL context can be had.
    static VyTestGLWindow* Get()
    {
        static VyTestGLWindow* pWindow = Create();
        return pWindow;
    }
    static const VyString& GetError() { return Error(); }

    SDL_Window* m_pWindow = nullptr;
    SDL_GLContext m_context = nullptr;

private:
    static VyString& Error()
    {
        static VyString error;
        return error;
    }

    static VyTestGLWindow* Create()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_Init(SDL_INIT_VIDEO) != 0)
        {
            Error() = SDL_GetError();
            return nullptr;
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        auto* pWindow = new VyTestGLWindow;
        pWindow->m_pWindow = SDL_CreateWindow("vyrender tests", 0, 0, WIDTH, HEIGHT, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (pWindow->m_pWindow != nullptr)
            pWindow->m_context = SDL_GL_CreateContext(pWindow->m_pWindow);
        if (pWindow->m_context == nullptr || SDL_GL_MakeCurrent(pWindow->m_pWindow, pWindow->m_context) != 0)
        {
            Error() = SDL_GetError();
            return nullptr;
        }
        return pWindow;
    }
};

// How two frames differ: the largest channel difference and the share of pixels within a tolerance.
struct VyFrameDifference
{
    int maxDifference = 0;
    double withinTolerance = 0.0; // 0..1
    int pixelsOutside = 0;
};

inline VyFrameDifference CompareFrames(const rgb& a, const rgb& b, int tolerance)
{
    VyFrameDifference result;
    const VyRGBFormat* pA = a.Image();
    const VyRGBFormat* pB = b.Image();
    if (pA == nullptr || pB == nullptr || pA->Width() != pB->Width() || pA->Height() != pB->Height())
        return result;
    int within = 0;
    for (int y = 0; y < pA->Height(); ++y)
        for (int x = 0; x < pA->Width(); ++x)
        {
            const uint32_t ca = pA->GetPixel(x, y), cb = pB->GetPixel(x, y);
            int worst = 0;
            for (int shift : {16, 8, 0})
                worst = std::max(worst, std::abs(static_cast<int>((ca >> shift) & 0xFF) - static_cast<int>((cb >> shift) & 0xFF)));
            result.maxDifference = std::max(result.maxDifference, worst);
            if (worst <= tolerance)
                ++within;
            else
                ++result.pixelsOutside;
        }
    result.withinTolerance = static_cast<double>(within) / (static_cast<double>(pA->Width()) * pA->Height());
    return result;
}

// The colour of a frame pixel as 0xRRGGBB.
inline uint32_t FramePixel(const rgb& frame, int x, int y)
{
    return frame.Image()->GetPixel(x, y) & 0xFFFFFF;
}
