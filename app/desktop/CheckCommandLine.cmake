# The program's command line, run for real.
#   cmake -DVARDUN=path/to/vardun -DVERSION=2.2 -P CheckCommandLine.cmake
cmake_minimum_required(VERSION 3.25)
set(failures "")

# --help and --version are answered on stdout without any window system: with no display
# at all, making the application object would abort the program.
set(no_display ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
foreach(option --help -h --version)
    execute_process(COMMAND ${no_display} ${VARDUN} ${option}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(option STREQUAL "--version")
        set(wanted "^vardun ${VERSION}\n$")
    else()
        set(wanted "^usage: vardun \\[FILE.sav \\| LISTS.dic\\]\n.*--version")
    endif()
    if(NOT status EQUAL 0 OR NOT out MATCHES "${wanted}" OR NOT err STREQUAL "")
        string(APPEND failures "vardun ${option}: status ${status}, stdout '${out}', stderr '${err}'\n")
    endif()
endforeach()

# A command line that is not understood: the reason and the usage on stderr, status 2.
set(offscreen ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen)
foreach(case "--bogus|unknown option --bogus" "one.sav;two.sav|only one data file can be opened")
    string(REPLACE "|" ";" parts "${case}")
    list(POP_BACK parts reason)
    execute_process(COMMAND ${offscreen} ${VARDUN} ${parts}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 2 OR NOT err MATCHES "vardun: ${reason}\nusage: vardun" OR NOT out STREQUAL "")
        string(APPEND failures "vardun ${parts}: status ${status}, stdout '${out}', stderr '${err}'\n")
    endif()
endforeach()

if(NOT failures STREQUAL "")
    message(FATAL_ERROR "${failures}")
endif()
