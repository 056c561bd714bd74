# `cmake --install` into an empty folder lays out exactly the package: the module, the host,
# the README and the README's picture. -DBUILD=build folder -DOUT=scratch folder
# -DFILES=expected relative paths, separated by commas.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${OUT}" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
file(GLOB_RECURSE found RELATIVE "${OUT}" "${OUT}/*")
list(SORT found)
string(REPLACE "," ";" expected "${FILES}")
list(SORT expected)
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "installed: ${found}\nexpected: ${expected}")
endif()
file(REMOVE_RECURSE "${OUT}")
