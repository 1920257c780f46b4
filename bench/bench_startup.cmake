# The game's start-up (the built program) and the frames of its scene (in this process, on SDL's
# offscreen display).
target_link_libraries(bench_startup PRIVATE tolmar_game)
vyw_embed_resources(bench_startup)
if(TARGET tolmar)
  target_compile_definitions(bench_startup PRIVATE TOLMAR_EXE="$<TARGET_FILE:tolmar>")
  add_dependencies(bench_startup tolmar)
endif()
# The process starter of the end-to-end tests.
target_include_directories(bench_startup PRIVATE ${PROJECT_SOURCE_DIR}/tests)
