# The contexts draw into SDL windows the benchmark makes itself.
find_package(SDL2 REQUIRED)
target_link_libraries(bench_render PRIVATE vyrender tolmar_game SDL2::SDL2)
# The scene's set and fonts come from the archive linked into the program.
vyw_embed_resources(bench_render)
