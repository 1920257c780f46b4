// Frames per second of the game's opening scene at 640 x 480: the classic board, its sixteen pieces
// (keyed pictures, blended) and a line of text, drawn through each render context. OpenGL runs on the
// OpenGL the SDL offscreen driver gives (Mesa llvmpipe on our machines) and is finished by the buffer
// swap each frame, as the platform does it; the software contexts draw into their frame buffers, and
// "Presented" adds the copy into an SDL window surface. The last argument is the display scale: at 2 the
// window is 1280 x 960 and every frame is blown up into it (OpenGL through a texture copy, the software
// contexts in the copy to the surface).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "VyPieceSet.h"
#include "vybitmap/VyKeyedImage.h"
#include "vyio/VyArchiveSource.h"
#include "vyrender/VyDirectDraw.h"
#include "vyrender/VyNativeContext.h"
#include "vyrender/VyOpenGL.h"

namespace
{

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// The classic set and its pieces keyed by the set's mask colour, read once.
struct SceneImages
{
    VyPieceSet set;
    std::vector<std::unique_ptr<VyRGBFormat>> pieces;

    static const SceneImages& Get()
    {
        static SceneImages images = Load();
        return images;
    }

    static SceneImages Load()
    {
        SceneImages images;
        images.set = VyPieceSet::Classic();
        for (const VyPieceImages& piece : images.set.images->pieces)
            images.pieces.push_back(VyKeyedImage::Make(*piece.normal.Image(), images.set.colorMask));
        return images;
    }
};

// The scene's textures in one context.
struct SceneTextures
{
    explicit SceneTextures(VyRenderContext& context)
    {
        const SceneImages& images = SceneImages::Get();
        board = context.MakeTextureHandle(*images.set.images->board.Image());
        background = images.set.images->background & 0xFFFFFF;
        for (const auto& piece : images.pieces)
            pieces.push_back(context.MakeTextureHandle(*piece));
    }

    VyTexture board;
    uint32_t background = 0;
    std::vector<VyTexture> pieces;
};

void DrawScene(VyRenderContext& context, const SceneTextures& textures)
{
    const VyPieceSet& set = SceneImages::Get().set;
    const VySize board = set.boardSize;
    context.BeginFrame();
    context.SetColor(VyColor(textures.background));
    context.FillRect({0, HEIGHT, WIDTH, board.cy});
    context.FillRect({board.cx, board.cy, WIDTH, 0});
    context.SetColor(VyColor(0xFFFFFF));
    context.SelectTexture(textures.board);
    context.DrawTexture({0, board.cy, board.cx, 0}, {});
    context.SetBlending(true);
    for (size_t i = 0; i < textures.pieces.size(); ++i)
    {
        const VyTexture& piece = textures.pieces[i];
        const VyPoint corner = set.pieces[i].start;
        context.SelectTexture(piece);
        context.DrawTexture({corner.x, corner.y + piece.GetHeight(), corner.x + piece.GetWidth(), corner.y}, {});
    }
    context.SetBlending(false);
    context.SelectFont(VY_FONT_CONTROL);
    context.SetColor(VyColor(0xFFFFFF));
    context.DrawText("Tolmar  -  Control+P saves a screenshot", 8, HEIGHT - 8);
    context.EndFrame();
}

void Report(benchmark::State& state, const VyRenderContext& context)
{
    const VyRenderStatistics& statistics = context.GetStatistics();
    const double frames = static_cast<double>(state.iterations());
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["quads/frame"] = (statistics.filledQuads + statistics.texturedQuads) / frames;
}

bool InitVideo(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        state.SkipWithError(SDL_GetError());
        return false;
    }
    return true;
}

void BM_FrameOpenGL(benchmark::State& state)
{
    VyArchiveSource source;
    if (!source.HasArchive() || !InitVideo(state))
        return state.SkipWithError("no archive or no video");
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    const int scale = static_cast<int>(state.range(0));
    SDL_Window* pWindow =
        SDL_CreateWindow("bench", 0, 0, WIDTH * scale, HEIGHT * scale, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext glContext = pWindow ? SDL_GL_CreateContext(pWindow) : nullptr;
    if (glContext == nullptr)
        return state.SkipWithError(SDL_GetError());
    SDL_GL_MakeCurrent(pWindow, glContext);
    SDL_GL_SetSwapInterval(0);
    {
        VyOpenGL context;
        context.SetDisplayScale(scale);
        context.Initialize(WIDTH, HEIGHT, 32, false);
        SceneTextures textures(context);
        int begins = 0;
        for (auto _ : state)
        {
            context.ResetCounters();
            DrawScene(context, textures);
            SDL_GL_SwapWindow(pWindow);
            begins += context.GetBeginCount();
        }
        Report(state, context);
        state.counters["glBegin/frame"] = static_cast<double>(begins) / static_cast<double>(state.iterations());
        state.SetLabel(context.GetRendererString() + VyString::Format(" scale %d", scale));
        context.Shutdown();
    }
    SDL_GL_DeleteContext(glContext);
    SDL_DestroyWindow(pWindow);
}
BENCHMARK(BM_FrameOpenGL)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Arg: 0 Native, 1 DirectDraw (16-bit); range(1) 1: presented in a window; range(2) the display scale.
void BM_FrameSoftware(benchmark::State& state)
{
    VyArchiveSource source;
    if (!source.HasArchive() || !InitVideo(state))
        return state.SkipWithError("no archive or no video");
    const bool bPresented = state.range(1) != 0;
    const int scale = static_cast<int>(state.range(2));
    SDL_Window* pWindow =
        bPresented ? SDL_CreateWindow("bench", 0, 0, WIDTH * scale, HEIGHT * scale, SDL_WINDOW_HIDDEN) : nullptr;
    {
        std::unique_ptr<VyRenderContext> pContext;
        if (state.range(0) == 0)
            pContext = std::make_unique<VyNativeContext>(pWindow);
        else
            pContext = std::make_unique<VyDirectDraw>(pWindow);
        pContext->SetDisplayScale(scale);
        pContext->Initialize(WIDTH, HEIGHT, 16, false);
        SceneTextures textures(*pContext);
        for (auto _ : state)
            DrawScene(*pContext, textures);
        Report(state, *pContext);
        state.SetLabel(pContext->GetRendererName() + " " + pContext->GetPixelFormatText() +
                       (bPresented ? VyString::Format(" presented at scale %d", scale) : VyString()));
        pContext->Shutdown();
    }
    if (pWindow != nullptr)
        SDL_DestroyWindow(pWindow);
}
BENCHMARK(BM_FrameSoftware)
    ->Args({0, 0, 1})
    ->Args({0, 1, 1})
    ->Args({0, 1, 2})
    ->Args({1, 0, 1})
    ->Args({1, 1, 1})
    ->Args({1, 1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
