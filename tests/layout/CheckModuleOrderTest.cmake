# cmake -DCHECK=<CheckModuleOrder.cmake> -DFIXTURES=<tree> -P CheckModuleOrderTest.cmake
#
# The check run on a tree made to break the order in every way it knows, next to files that keep it:
# it must fail and name exactly the breaking includes.

cmake_minimum_required(VERSION 3.22)

execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURES} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "The check passed a tree that breaks the module order:\n${output}")
endif()

set(expected
  "apps/game/src/Display.cpp: includes the display header SDL2/SDL.h, which only vyrender and vyplatform may include"
  "tools/tool/Display.cpp: includes the display header EGL/egl.h, which only vyrender and vyplatform may include"
  "vyw/vycontrol/Display.h: includes the display header GL/gl.h, which only vyrender and vyplatform may include"
  "vyw/vyrender/Upward.h: includes vywindow/VyWnd.h of vywindow, which comes after vyrender"
  "vyw/vythread/Upward.cpp: includes vyio/VyFile.h of vyio, which comes after vythread"
  "vyw/vywindow/Display.cpp: includes the display header SDL_events.h, which only vyrender and vyplatform may include")

# The report's lines name a file first; everything else is the message around them.
string(REPLACE "\n" ";" lines "${output}")
set(reported "")
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line MATCHES "^(vyw|apps|tools)/")
    list(APPEND reported "${line}")
  endif()
endforeach()
list(SORT reported)
list(SORT expected)
if(NOT reported STREQUAL expected)
  string(REPLACE ";" "\n  " reported_text "${reported}")
  string(REPLACE ";" "\n  " expected_text "${expected}")
  message(FATAL_ERROR "The check reported:\n  ${reported_text}\nwhere it should report:\n  ${expected_text}")
endif()
message(STATUS "CheckModuleOrderTest: every breaking include is named, and nothing else")
