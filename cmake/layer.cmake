# lvp_layer_library(name SOURCES file... DEPS target...): a static library of one layer's
# sources, listed one by one, so that what a layer builds is read in its CMakeLists.txt.
function(lvp_layer_library name)
    cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${L_SOURCES})
    target_link_libraries(${name} PUBLIC ${L_DEPS})
endfunction()
