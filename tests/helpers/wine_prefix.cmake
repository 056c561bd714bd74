# What the Windows tests lay into the Wine prefix that scripts/wine-run uses (WINEPREFIX, else the
# Windows build folder's): the module's settings folder (AppData\Roaming\Lumivant) and folders
# that carry the mark of tests/support/laid_out_folder.h (C:\Program Files\Hugin, C:\Bilder).
# Included: lvp_wine_appdata(VAR) gives the prefix's AppData\Roaming folder (FATAL_ERROR when
# there is not exactly one). As a script (cmake -DACTION=... -P), the two ends of a CTest run:
#   ACTION=set_aside  a Lumivant folder that was there before the run (a prefix shared with real
#                     use) is kept aside as Lumivant.kept-by-tests, and what a killed run left
#                     goes;
#   ACTION=restore    what the tests left goes, the kept folder comes back, and the script fails
#                     naming what was left: a test must take away what it lays out.
function(lvp_wine_prefix var)
    if(DEFINED ENV{WINEPREFIX})
        set(${var} "$ENV{WINEPREFIX}" PARENT_SCOPE)
    else()
        get_filename_component(prefix "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../../build/windows/wineprefix" ABSOLUTE)
        set(${var} "${prefix}" PARENT_SCOPE)
    endif()
endfunction()

function(lvp_wine_appdata var)
    lvp_wine_prefix(prefix)
    file(GLOB user_dirs LIST_DIRECTORIES true "${prefix}/drive_c/users/*/AppData/Roaming")
    list(FILTER user_dirs EXCLUDE REGEX "/users/Public/")
    list(LENGTH user_dirs n)
    if(NOT n EQUAL 1)
        message(FATAL_ERROR "cannot tell the Wine prefix's AppData folder: ${user_dirs}")
    endif()
    set(${var} "${user_dirs}" PARENT_SCOPE)
endfunction()

# The folders laid out by tests, one or two levels below C:\.
function(lvp_wine_laid_out var)
    lvp_wine_prefix(prefix)
    file(GLOB marks "${prefix}/drive_c/*/lvp_test_layout.txt" "${prefix}/drive_c/*/*/lvp_test_layout.txt")
    set(folders)
    foreach(mark IN LISTS marks)
        get_filename_component(folder "${mark}" DIRECTORY)
        list(APPEND folders "${folder}")
    endforeach()
    set(${var} "${folders}" PARENT_SCOPE)
endfunction()

if(NOT DEFINED ACTION)
    return()
endif()
lvp_wine_prefix(prefix)
if(NOT EXISTS "${prefix}/system.reg")
    return() # no prefix yet: nothing of a test's in it
endif()
lvp_wine_appdata(appdata)
set(settings "${appdata}/Lumivant")
set(kept "${appdata}/Lumivant.kept-by-tests")
lvp_wine_laid_out(laid_out)
if(ACTION STREQUAL "set_aside")
    foreach(folder IN LISTS laid_out)
        message("left by an earlier run, removed: ${folder}")
        file(REMOVE_RECURSE "${folder}")
    endforeach()
    if(EXISTS "${kept}")
        file(REMOVE_RECURSE "${settings}") # the kept one is the user's, this an earlier run's
    elseif(EXISTS "${settings}")
        file(RENAME "${settings}" "${kept}")
        message("kept aside for the run: ${settings}")
    endif()
elseif(ACTION STREQUAL "restore")
    set(left ${laid_out})
    if(EXISTS "${settings}")
        list(APPEND left "${settings}")
    endif()
    foreach(folder IN LISTS left)
        file(REMOVE_RECURSE "${folder}")
    endforeach()
    if(EXISTS "${kept}")
        file(RENAME "${kept}" "${settings}")
        message("put back: ${settings}")
    endif()
    if(left)
        list(JOIN left "\n  " names)
        message(FATAL_ERROR "the tests left in the Wine prefix (now removed):\n  ${names}")
    endif()
else()
    message(FATAL_ERROR "ACTION must be set_aside or restore, not ${ACTION}")
endif()
