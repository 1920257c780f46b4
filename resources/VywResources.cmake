# The resource archive: how files reach it and how executables carry it.
#
# Every file below resources/ (except these build files) is copied into a staging folder in the build
# tree, keeping its relative path; files made by other targets are added to the same folder; then
# `vya create` packs the folder into ${CMAKE_BINARY_DIR}/resource.vya (entry names lower case:
# resources/strings/strings.txt becomes "\strings\strings.txt"). The staging folder is made afresh on
# every run, so a deleted file leaves the archive too.
#
#   vyw_add_generated_resource(TARGET <target> DESTINATION <folder> FILES <file>...)
#       Adds files made by <target> (absolute paths of its outputs) to the archive below <folder>, e.g.
#       vyw_add_generated_resource(TARGET classic_art DESTINATION sets/classic
#                                  FILES ${CMAKE_CURRENT_BINARY_DIR}/piece1.bmp)
#       gives the entry "\sets\classic\piece1.bmp". The archive is rebuilt when the files change.
#
#   vyw_embed_resources(<target> [COPY_ARCHIVE])
#       Links the archive into the executable <target> as bytes (found by VyArchive::GetLinkedImage
#       through the symbols vyw_resource_archive_begin/_end, for the platform and VyArchiveSource);
#       COPY_ARCHIVE also copies resource.vya beside the executable, the file the platform falls back to. A program that is not given the archive links all the same and
#       simply has none. The game `tolmar` is given the archive and the copy without asking.
#
# Both may be called from any CMakeLists.txt; the work is done at the end of the configuration
# (resources/CMakeLists.txt), when every call is known.

# The archive's path, for programs that read it from the build tree (set here, before any module, so
# that every directory sees it).
set(VYW_RESOURCE_ARCHIVE ${CMAKE_BINARY_DIR}/resource.vya)

function(vyw_add_generated_resource)
  cmake_parse_arguments(ARG "" "TARGET;DESTINATION" "FILES" ${ARGN})
  if(NOT ARG_FILES)
    message(FATAL_ERROR "vyw_add_generated_resource: no FILES")
  endif()
  foreach(file ${ARG_FILES})
    get_filename_component(name ${file} NAME)
    if(ARG_DESTINATION)
      set(name "${ARG_DESTINATION}/${name}")
    endif()
    set_property(GLOBAL APPEND PROPERTY VYW_GENERATED_RESOURCES "${file}|${name}")
  endforeach()
  if(ARG_TARGET)
    set_property(GLOBAL APPEND PROPERTY VYW_GENERATED_RESOURCE_TARGETS ${ARG_TARGET})
  endif()
endfunction()

function(vyw_embed_resources target)
  cmake_parse_arguments(ARG "COPY_ARCHIVE" "" "" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY VYW_EMBED_TARGETS ${target})
  if(ARG_COPY_ARCHIVE)
    set_property(GLOBAL APPEND PROPERTY VYW_COPY_ARCHIVE_TARGETS ${target})
  endif()
endfunction()
