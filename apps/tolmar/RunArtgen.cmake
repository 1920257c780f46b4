# cmake -DARTGEN=<tolmar-artgen> -DSET=<set file> -DOUT=<folder> -P RunArtgen.cmake
# Draws the game's pictures afresh into OUT; the generator's report goes to OUT.log and is shown
# only when a check or the generator fails.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${ARTGEN} --set ${SET} ${OUT} OUTPUT_FILE ${OUT}.log ERROR_FILE ${OUT}.log RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(READ ${OUT}.log report)
  message(FATAL_ERROR "tolmar-artgen failed (${result}):\n${report}")
endif()
