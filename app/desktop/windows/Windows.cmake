# The program on Windows: a window program without a console, the icon and version in both
# executables. scripts/windows.sh renders the icon (VARDUN_WINDOWS_ICON, an .ico file) and
# packs the zip and the installer around what is built here.
set(VARDUN_WINDOWS_ICON "" CACHE FILEPATH "The program's icon as a Windows .ico file")

set_target_properties(vardun PROPERTIES WIN32_EXECUTABLE ON)
if(VARDUN_WINDOWS_ICON)
    foreach(program vardun vardun-report)
        if(TARGET ${program})
            set(VARDUN_RC_NAME ${program})
            if(program STREQUAL "vardun")
                set(VARDUN_RC_DESCRIPTION "Vardun: assessing how well an information system is protected")
            else()
                set(VARDUN_RC_DESCRIPTION "Vardun report: the analysis of a data file without a window")
            endif()
            configure_file(${CMAKE_CURRENT_LIST_DIR}/vardun.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc @ONLY)
            target_sources(${program} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc)
        endif()
    endforeach()
endif()
