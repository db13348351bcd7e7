# Delay-loading of the system DLLs that are not KnownDLLs.
#
# Windows takes a KnownDLL from System32 only, but looks for any other DLL that an
# exe imports statically in the exe's own folder first (for a download, the user's
# Downloads folder), and it does so before the program's first line runs. Delay-loaded,
# such a DLL is loaded at its first call instead, after the program has restricted
# the search to System32 (SetDefaultDllDirectories at the top of wWinMain).
#
#   vg_delay_load(TARGET NAME...)        for example vg_delay_load(Velvetglide dwmapi uxtheme)
#
# MSVC: /DELAYLOAD for each DLL with delayimp.lib, and /DEPENDENTLOADFLAG:0x800
# (LOAD_LIBRARY_SEARCH_SYSTEM32) for whatever the loader still resolves at start.
# MinGW: GNU ld has no /DELAYLOAD. dlltool makes a delay-import library of each DLL
# from the exports of mingw-w64's ordinary import library and gives it the same file
# name, in a folder that the target's link searches first: every -lNAME on its link
# line, whichever library asked for it, then takes the delay-import library. Other
# targets (the tests) keep the ordinary imports.

set(VG_DELAY_IMPORT_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/MakeDelayImportLibrary.cmake)

function(vg_delay_load target)
    if(MSVC)
        foreach(name IN LISTS ARGN)
            target_link_options(${target} PRIVATE /DELAYLOAD:${name}.dll)
        endforeach()
        target_link_libraries(${target} PRIVATE delayimp)
        target_link_options(${target} PRIVATE /DEPENDENTLOADFLAG:0x800)
    elseif(MINGW)
        set(dir ${CMAKE_BINARY_DIR}/delay-imports/${target})
        set(libraries)
        foreach(name IN LISTS ARGN)
            find_library(VG_IMPORT_LIBRARY_${name} NAMES lib${name}.a REQUIRED)
            set(library ${dir}/lib${name}.a)
            add_custom_command(OUTPUT ${library}
                COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
                        -DIMPORT_LIBRARY=${VG_IMPORT_LIBRARY_${name}} -DDLL=${name}.dll -DOUTPUT=${library}
                        -P ${VG_DELAY_IMPORT_SCRIPT}
                DEPENDS ${VG_IMPORT_LIBRARY_${name}} ${VG_DELAY_IMPORT_SCRIPT}
                COMMENT "Delay-import library for ${name}.dll"
                VERBATIM)
            list(APPEND libraries ${library})
        endforeach()
        add_custom_target(${target}_delay_imports DEPENDS ${libraries})
        add_dependencies(${target} ${target}_delay_imports)
        target_link_directories(${target} BEFORE PRIVATE ${dir})
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${libraries})
    endif()
endfunction()
