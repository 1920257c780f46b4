// Measuring, laying out and wrapping text with a 100-glyph font of varied advances.
#include <benchmark/benchmark.h>

#include "vyrender/VyFont.h"

namespace
{

VyFont MakeFont()
{
    std::vector<VyGlyph> glyphs(100);
    for (int i = 0; i < 100; ++i)
    {
        glyphs[i].advance = 3 + i % 9;
        if (i != 0)
            glyphs[i].box = {0, 10, 2 + i % 9, -3};
        glyphs[i].sheet = glyphs[i].box.IsEmpty() ? VyRect{} : VyRect{0, 13, 2 + i % 9, 0};
    }
    VyFont font;
    font.SetMetrics(VyFontDesc(), 32, 13, std::move(glyphs));
    return font;
}

VyString MessageText(bool bMarked)
{
    VyString text = bMarked ? "<>" : "";
    for (int i = 0; i < 40; ++i)
        text += i % 7 == 3 && bMarked ? "<red>Tolmar<orig> chose " : "the piece waits here ";
    return text;
}

void BM_TextWidth(benchmark::State& state)
{
    VyFont font = MakeFont();
    VyString text = MessageText(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(font.GetTextWidth(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TextWidth)->Arg(0)->Arg(1);

void BM_Layout(benchmark::State& state)
{
    VyFont font = MakeFont();
    VyString text = MessageText(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(font.Layout(text, {10, 10}));
}
BENCHMARK(BM_Layout);

void BM_Wrap(benchmark::State& state)
{
    VyFont font = MakeFont();
    VyString text = MessageText(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(font.Wrap(text, 300));
}
BENCHMARK(BM_Wrap);

void BM_FitToAspect(benchmark::State& state)
{
    VyFont font = MakeFont();
    VyString text = MessageText(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(font.FitToAspect(text, 2.5));
}
BENCHMARK(BM_FitToAspect);

} // namespace
