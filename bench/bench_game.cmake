# Whole games in this process, with the game's windows on a Native context without a display.
target_link_libraries(bench_game PRIVATE tolmar_game)
vyw_embed_resources(bench_game)
