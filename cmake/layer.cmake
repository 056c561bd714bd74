# lvp_layer_library(name GLOBS pattern... DEPS target...): a static library of one layer's
# sources (an interface library while the layer has none yet).
function(lvp_layer_library name)
    cmake_parse_arguments(L "" "" "GLOBS;DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${L_GLOBS})
    if(sources)
        add_library(${name} STATIC ${sources})
        target_link_libraries(${name} PUBLIC ${L_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${L_DEPS})
    endif()
endfunction()
