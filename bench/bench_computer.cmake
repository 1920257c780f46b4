target_link_libraries(bench_computer PRIVATE tolmar_game)
vyw_embed_resources(bench_computer)
# Positions are built as the decision tests build them.
target_include_directories(bench_computer PRIVATE ${PROJECT_SOURCE_DIR}/tests/tolmar)
# The plain decisions the compact ones are measured and checked against.
target_sources(bench_computer PRIVATE ${PROJECT_SOURCE_DIR}/tests/tolmar/VyPlainDecision.cpp)
