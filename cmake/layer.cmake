# The layers' targets: their sources and the include roots that keep each layer to the layers it links.

# lvp_layer_includes(target scope): gives target the include root of the layer whose folder
# declares it. A layer's headers are included as "<layer>/<file>.h"; the root
# ${CMAKE_BINARY_DIR}/include/<layer> holds only a link <layer> to the layer's source folder.
# Each layer's targets carry their own root, and linking a layer (PUBLIC, as the layers link one
# another) carries its root along, so a layer reaches its own headers and those of the layers it
# links, and the compiler refuses any other. Tests, benchmarks and fuzz targets add the source
# root themselves.
function(lvp_layer_includes target scope)
    get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${CMAKE_BINARY_DIR}/include/${layer})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${layer} SYMBOLIC)
    target_include_directories(${target} ${scope} ${root})
endfunction()

# lvp_layer_headers(name header...): an INTERFACE target that exposes only the given headers of
# the layer whose folder declares it, as "<layer>/<header>", for targets that share those
# headers without linking the layer.
function(lvp_layer_headers name)
    get_filename_component(layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${CMAKE_BINARY_DIR}/include/${name})
    file(MAKE_DIRECTORY ${root}/${layer})
    foreach(header IN LISTS ARGN)
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${layer}/${header} SYMBOLIC)
    endforeach()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${root})
endfunction()

# lvp_layer_library(name SOURCES file... DEPS target...): a static library of one layer's
# sources, listed one by one, so that what a layer builds is read in its CMakeLists.txt; it
# carries the layer's include root.
function(lvp_layer_library name)
    cmake_parse_arguments(L "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${L_SOURCES})
    target_link_libraries(${name} PUBLIC ${L_DEPS})
    lvp_layer_includes(${name} PUBLIC)
endfunction()
