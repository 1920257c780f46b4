target_link_libraries(bench_expert PRIVATE tolmar_game)
vyw_embed_resources(bench_expert)
target_include_directories(bench_expert PRIVATE ${PROJECT_SOURCE_DIR}/tests/tolmar)
