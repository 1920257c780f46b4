target_link_libraries(bench_render PRIVATE vyrender)
# The scene's board, pieces and fonts come from the archive the build packs.
target_compile_definitions(bench_render PRIVATE VYW_BENCH_ARCHIVE="${VYW_RESOURCE_ARCHIVE}")
