# Helpers shared by the resource generators (CMake script mode).

# A text of the sources (escapes \n, \", \\) as a resource-compiler string body: RC wants "" for a quote.
function(lvp_rc_text out text)
    string(REPLACE "\\\"" "\"\"" rc_text "${text}")
    set(${out} "${rc_text}" PARENT_SCOPE)
endfunction()

# Writes a generated file, touching it only when its content changes.
function(lvp_write_generated path content)
    file(WRITE "${path}.tmp" "${content}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${path}.tmp" "${path}")
    file(REMOVE "${path}.tmp")
endfunction()
