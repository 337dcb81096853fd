# The file types as a desktop reads them: the MIME database is built from our package file
# alone, and files whose names tell nothing must be recognised by their first line.
#   cmake -DUPDATE_MIME_DATABASE=... -DGIO=... -DMIME_XML=... -DSAMPLE_DIR=... -DWORK_DIR=... -P CheckMimeTypes.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/data/mime/packages ${WORK_DIR}/home ${WORK_DIR}/files)
file(COPY_FILE ${MIME_XML} ${WORK_DIR}/data/mime/packages/vardun.xml)
set(environment XDG_DATA_DIRS=${WORK_DIR}/data XDG_DATA_HOME=${WORK_DIR}/home)

execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} ${UPDATE_MIME_DATABASE} ${WORK_DIR}/data/mime
    RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT status EQUAL 0 OR NOT said STREQUAL "")
    message(FATAL_ERROR "update-mime-database refused the file types (${status}):\n${said}")
endif()

# No extension anywhere: only the content can tell.
file(COPY_FILE ${SAMPLE_DIR}/example.sav ${WORK_DIR}/files/assessment)
file(COPY_FILE ${SAMPLE_DIR}/default.dic ${WORK_DIR}/files/vocabulary)
# The data file's header in UTF-8 is no data file: the program reads code page 1251.
file(WRITE ${WORK_DIR}/files/utf8-header "Файл данных Vardun 2.2.\r\n[Список эшелонов]\r\n0\r\n")

set(cases
    "assessment=application/x-vardun-data"
    "vocabulary=application/x-vardun-dictionary"
    "utf8-header=")
set(failures "")
foreach(case IN LISTS cases)
    string(REPLACE "=" ";" parts "${case}")
    list(GET parts 0 name)
    list(LENGTH parts count)
    set(expected "")
    if(count GREATER 1)
        list(GET parts 1 expected)
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env ${environment} ${GIO} info -a standard::content-type ${WORK_DIR}/files/${name}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0 OR NOT out MATCHES "standard::content-type: ([^\n]+)")
        string(APPEND failures "${name}: gio said nothing of its type (${status}): ${out}${err}\n")
        continue()
    endif()
    set(got ${CMAKE_MATCH_1})
    if(expected STREQUAL "")
        if(got MATCHES "vardun")
            string(APPEND failures "${name}: taken for ${got}\n")
        endif()
    elseif(NOT got STREQUAL expected)
        string(APPEND failures "${name}: ${got}, not ${expected}\n")
    endif()
endforeach()
if(NOT failures STREQUAL "")
    message(FATAL_ERROR "file types not recognised as they should be:\n${failures}")
endif()
