# Helpers shared by the framework modules, the game, the tools and the tests.

# vyw_module(NAME [DEPENDS dep...] [LIBS lib...] [PRIVATE_LIBS lib...]): one static library per
# framework module, made of every .cpp file in the module's folder, linked to the modules it depends on
# and to outside libraries. Headers are included as "module/Header.h". LIBS are handed on to whatever
# links the module; PRIVATE_LIBS only to the link, so that their headers stay out of reach of the modules
# above (SDL and OpenGL belong to the render and platform modules alone).
function(vyw_module name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LIBS;PRIVATE_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/vyw)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/vyw)
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS} ${ARG_LIBS})
  endif()
endfunction()

# vyw_test(NAME LIBS lib... [LABELS label...]): one GoogleTest program from every .cpp file of the calling
# folder; the tests carry the labels (threads: the program runs threads and is built for the
# thread-sanitizer step too; no-sanitizer: left out of the sanitizer runs).
function(vyw_test name)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # Programs whose tests run threads are gathered in one target for the thread-sanitizer build.
  if("threads" IN_LIST ARG_LABELS)
    if(NOT TARGET threaded_tests)
      add_custom_target(threaded_tests)
    endif()
    add_dependencies(threaded_tests ${name})
  endif()
  set(properties TIMEOUT 600)
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${properties})
endfunction()
