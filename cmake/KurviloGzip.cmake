# SPDX-License-Identifier: MIT
# Installs text files gzipped, the way Debian ships manual pages and changelogs: gzip -9n, so the
# archive carries no name and no time stamp and the same source always gives the same bytes.

# Run as a script (cmake -DINPUT=... -DOUTPUT=... -P KurviloGzip.cmake) it compresses one file.
if(CMAKE_SCRIPT_MODE_FILE)
    execute_process(COMMAND ${GZIP} -9nc ${INPUT} OUTPUT_FILE ${OUTPUT}.tmp
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        file(REMOVE ${OUTPUT}.tmp)
        message(FATAL_ERROR "gzip ${INPUT}: ${status}")
    endif()
    file(RENAME ${OUTPUT}.tmp ${OUTPUT})
    return()
endif()

find_program(KURVILO_GZIP gzip REQUIRED)
set(kurvilo_gzip_script ${CMAKE_CURRENT_LIST_FILE})

# kurvilo_gzipped(<target> <variable> FILES <source> <name>.gz ...)
# Each source is followed by the name it gets gzipped; <target> builds them all, and <variable>
# holds the gzipped files, for install(FILES) rules of one or more components.
function(kurvilo_gzipped target variable)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FILES")
    list(LENGTH arg_FILES count)
    math(EXPR odd "${count} % 2")
    if(count EQUAL 0 OR odd)
        message(FATAL_ERROR "kurvilo_gzipped: FILES takes pairs of source and name")
    endif()
    set(outputs)
    while(arg_FILES)
        list(POP_FRONT arg_FILES source name)
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        set(output ${CMAKE_CURRENT_BINARY_DIR}/${name})
        add_custom_command(OUTPUT ${output}
                           COMMAND ${CMAKE_COMMAND} -DGZIP=${KURVILO_GZIP} -DINPUT=${source}
                                   -DOUTPUT=${output} -P ${kurvilo_gzip_script}
                           DEPENDS ${source} ${kurvilo_gzip_script}
                           COMMENT "Compressing ${name}"
                           VERBATIM)
        list(APPEND outputs ${output})
    endwhile()
    add_custom_target(${target} ALL DEPENDS ${outputs})
    set(${variable} ${outputs} PARENT_SCOPE)
endfunction()

# kurvilo_install_gzipped(<target> DESTINATION <dir> COMPONENT <component> FILES <source>
#                         [<name>.gz] ...)
# The same, installed in one place.
function(kurvilo_install_gzipped target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESTINATION;COMPONENT" "FILES")
    kurvilo_gzipped(${target} outputs FILES ${arg_FILES})
    install(FILES ${outputs} DESTINATION ${arg_DESTINATION} COMPONENT ${arg_COMPONENT})
endfunction()
