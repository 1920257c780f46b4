# cmake -DMANIFEST=<file> -DSTAGING=<folder> -P StageResources.cmake
# Makes the staging folder afresh from the manifest's lines "<source file>|<path in the folder>".
file(REMOVE_RECURSE ${STAGING})
file(MAKE_DIRECTORY ${STAGING})
file(STRINGS ${MANIFEST} lines)
foreach(line ${lines})
  string(FIND "${line}" "|" bar)
  string(SUBSTRING "${line}" 0 ${bar} source)
  math(EXPR start "${bar} + 1")
  string(SUBSTRING "${line}" ${start} -1 target)
  get_filename_component(folder ${STAGING}/${target} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${source} ${STAGING}/${target})
endforeach()
