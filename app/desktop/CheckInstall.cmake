# `cmake --install` into an empty prefix gives exactly the files a desktop needs, and they are
# the right ones: icons of their sizes, the samples and manual pages as in the repository,
# and a program that runs from there.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DSOURCE_DIR=... -DICON_SIZES=... -DAPPSTREAM_ID=... -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${err}")
endif()

set(expected
    bin/vardun
    bin/vardun-report
    share/applications/vardun.desktop
    share/doc/vardun/changelog.gz
    share/doc/vardun/copyright
    share/icons/hicolor/scalable/apps/vardun.svg
    share/man/man1/vardun-report.1.gz
    share/man/man1/vardun.1.gz
    share/metainfo/${APPSTREAM_ID}.metainfo.xml
    share/mime/packages/vardun.xml
    share/vardun/default.dic
    share/vardun/example.sav)
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/vardun.png)
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)

set(failures "")
set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(extra ${installed})
list(REMOVE_ITEM extra ${expected})
if(missing)
    string(APPEND failures "missing: ${missing}\n")
endif()
if(extra)
    string(APPEND failures "not expected: ${extra}\n")
endif()

# A PNG's width and height are the two big-endian words after its signature and header tag.
foreach(size IN LISTS ICON_SIZES)
    set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/vardun.png)
    if(EXISTS ${png})
        file(READ ${png} header OFFSET 16 LIMIT 8 HEX)
        string(SUBSTRING "${header}" 0 8 width)
        string(SUBSTRING "${header}" 8 8 height)
        math(EXPR width "0x${width}")
        math(EXPR height "0x${height}")
        if(NOT width EQUAL size OR NOT height EQUAL size)
            string(APPEND failures "${size}x${size} icon is ${width}x${height}\n")
        endif()
    endif()
endforeach()

foreach(pair "sample/default.dic=share/vardun/default.dic" "sample/example.sav=share/vardun/example.sav"
        "app/desktop/vardun-mime.xml=share/mime/packages/vardun.xml")
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    if(EXISTS ${PREFIX}/${target})
        file(SHA256 ${SOURCE_DIR}/${source} wanted)
        file(SHA256 ${PREFIX}/${target} got)
        if(NOT got STREQUAL wanted)
            string(APPEND failures "${target} differs from ${source}\n")
        endif()
    endif()
endforeach()

foreach(page vardun.1 vardun-report.1)
    execute_process(COMMAND gzip -dc ${PREFIX}/share/man/man1/${page}.gz OUTPUT_VARIABLE text RESULT_VARIABLE status)
    file(READ ${SOURCE_DIR}/app/desktop/${page} wanted)
    if(NOT status EQUAL 0 OR NOT text STREQUAL wanted)
        string(APPEND failures "share/man/man1/${page}.gz is not ${page} compressed\n")
    endif()
endforeach()

# The installed program runs from its new place (its libraries are found) without a display.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY ${PREFIX}/bin/vardun --version
    OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "^vardun ")
    string(APPEND failures "installed bin/vardun --version: status ${status}, '${out}'\n")
endif()

if(NOT failures STREQUAL "")
    message(FATAL_ERROR "${failures}")
endif()
