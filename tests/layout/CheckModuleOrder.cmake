# cmake -DROOT=<source tree> -P CheckModuleOrder.cmake
#
# Fails, naming every offending file and include, when the sources break the module order: a framework
# module may include only headers of itself and of the modules before it, and only the render and
# platform modules may include SDL or OpenGL headers (the framework's own headers are what the modules
# above, the game and the tools build on). Only the include lines are read; an include that names no
# module ("Local.h") is the module's own business.

cmake_minimum_required(VERSION 3.22)

if(NOT ROOT)
  message(FATAL_ERROR "CheckModuleOrder: ROOT is not set")
endif()

# Lowest first, as the build adds them.
set(modules vythread vyio vyutil vybitmap vyrender vyplatform vywindow vycontrol)
set(display_modules vyrender vyplatform)
set(display_header "^(SDL\\.h|SDL_[^/]*|SDL2/.*|GL/.*|GLES[0-9]*/.*|EGL/.*)$")
set(source_globs *.h *.hpp *.inl *.c *.cpp)


# The headers a file includes, in order.
function(included_headers file out)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(headers "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
    list(APPEND headers "${header}")
  endforeach()
  set(${out} "${headers}" PARENT_SCOPE)
endfunction()

# The files of a folder of the tree, relative to ROOT.
function(sources_below folder out)
  set(patterns "")
  foreach(glob IN LISTS source_globs)
    list(APPEND patterns "${ROOT}/${folder}/${glob}")
  endforeach()
  file(GLOB_RECURSE files RELATIVE "${ROOT}" ${patterns})
  list(SORT files)
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

# Violations gather in a global property: one line each.
function(report text)
  set_property(GLOBAL APPEND_STRING PROPERTY module_order_violations "  ${text}\n")
endfunction()

# One file of the module at module_index: no module after it, and display headers only where allowed.
function(check_module_file file module_index)
  list(GET modules ${module_index} module)
  included_headers("${ROOT}/${file}" headers)
  foreach(header IN LISTS headers)
    string(REGEX REPLACE "/.*$" "" first "${header}")
    list(FIND modules "${first}" header_index)
    if(header_index GREATER module_index)
      report("${file}: includes ${header} of ${first}, which comes after ${module}")
    endif()
    if(header MATCHES "${display_header}" AND NOT module IN_LIST display_modules)
      report("${file}: includes the display header ${header}, which only vyrender and vyplatform may include")
    endif()
  endforeach()
endfunction()

# One file of the game or a tool: everything of the framework, but no display header.
function(check_program_file file)
  included_headers("${ROOT}/${file}" headers)
  foreach(header IN LISTS headers)
    if(header MATCHES "${display_header}")
      report("${file}: includes the display header ${header}, which only vyrender and vyplatform may include")
    endif()
  endforeach()
endfunction()

set(checked 0)
list(LENGTH modules module_count)
math(EXPR last_module "${module_count} - 1")
foreach(module_index RANGE ${last_module})
  list(GET modules ${module_index} module)
  sources_below("vyw/${module}" files)
  foreach(file IN LISTS files)
    check_module_file("${file}" ${module_index})
    math(EXPR checked "${checked} + 1")
  endforeach()
endforeach()

foreach(folder apps tools)
  sources_below("${folder}" files)
  foreach(file IN LISTS files)
    check_program_file("${file}")
    math(EXPR checked "${checked} + 1")
  endforeach()
endforeach()

get_property(violations GLOBAL PROPERTY module_order_violations)
if(violations)
  message(FATAL_ERROR "The module order is broken:\n${violations}")
endif()
message(STATUS "CheckModuleOrder: ${checked} files keep the module order")
