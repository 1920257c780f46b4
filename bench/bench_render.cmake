target_link_libraries(bench_render PRIVATE vyrender tolmar_game)
# The scene's set and fonts come from the archive linked into the program.
vyw_embed_resources(bench_render)
