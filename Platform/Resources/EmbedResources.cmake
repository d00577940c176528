# qz_embed_resources(<target> TYPE <type> FILES <file>...)
# Compiles the files into <target> as resources of that type, each named after its file name
# upper-cased with full stops and spaces turned into underscores ("a b.png" becomes "A_B_PNG"),
# found at run time with QZ::Resources::FindResource. The generated source is rebuilt whenever one
# of the files changes. Two files of one type that come to the same name stop the configuration.

function(qz_embed_resources target)
    cmake_parse_arguments(R "" "TYPE" "FILES" ${ARGN})
    if(NOT R_TYPE OR NOT R_FILES)
        message(FATAL_ERROR "qz_embed_resources(${target}): TYPE and FILES are required")
    endif()
    if(NOT TARGET ${target})
        # The ThreadSanitizer build leaves out every test that is not a concurrency test.
        if(QZ_CONCURRENCY_ONLY)
            return()
        endif()
        message(FATAL_ERROR "qz_embed_resources: no target ${target}")
    endif()
    get_target_property(taken ${target} QZ_RESOURCE_NAMES)
    if(NOT taken)
        set(taken "")
    endif()
    set(manifest "")
    set(inputs "")
    foreach(file IN LISTS R_FILES)
        get_filename_component(path "${file}" ABSOLUTE)
        get_filename_component(fileName "${file}" NAME)
        string(TOUPPER "${fileName}" name)
        string(REPLACE "." "_" name "${name}")
        string(REPLACE " " "_" name "${name}")
        if(NOT name MATCHES "^[A-Z0-9_-]+$")
            message(FATAL_ERROR "qz_embed_resources(${target}): the file name of ${path} makes the "
                                "resource name ${name}; use letters, digits, '-', '_', '.' and ' '")
        endif()
        if("${R_TYPE}/${name}" IN_LIST taken)
            message(FATAL_ERROR "qz_embed_resources(${target}): two files make the resource "
                                "${R_TYPE} ${name} (the second is ${path})")
        endif()
        list(APPEND taken "${R_TYPE}/${name}")
        list(APPEND inputs "${path}")
        string(APPEND manifest "${name}\n${path}\n")
    endforeach()
    set_target_properties(${target} PROPERTIES QZ_RESOURCE_NAMES "${taken}")
    set(generator ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/GenerateResourceSource.cmake)

    string(MAKE_C_IDENTIFIER "${target}_${R_TYPE}" stem)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/resources)
    set(manifestFile ${folder}/${stem}.txt)
    set(source ${folder}/${stem}.cpp)
    file(CONFIGURE OUTPUT ${manifestFile} CONTENT "${manifest}" @ONLY)
    add_custom_command(
        OUTPUT ${source}
        COMMAND ${CMAKE_COMMAND} -DTYPE=${R_TYPE} -DMANIFEST=${manifestFile} -DOUTPUT=${source}
                -P ${generator}
        DEPENDS ${inputs} ${manifestFile} ${generator}
        COMMENT "Embedding ${R_TYPE} resources into ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${source})
    target_link_libraries(${target} PRIVATE QZ::Resources)
endfunction()
