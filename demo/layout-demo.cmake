# cmake -P script: converts the demo family's UTF-8 sources to code page 932.
find_program(ICONV iconv REQUIRED)

function(convert_to_cp932 source target)
    get_filename_component(target_dir ${target} DIRECTORY)
    file(MAKE_DIRECTORY ${target_dir})
    execute_process(
        COMMAND ${ICONV} -f UTF-8 -t CP932 ${source}
        OUTPUT_FILE ${target}
        RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cannot convert ${source} to CP932")
    endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(relative IN LISTS sources)
    convert_to_cp932(${SOURCE_DIR}/${relative} ${DEST_DIR}/${relative})
endforeach()
convert_to_cp932(${PATH_FILE} ${DEST_DIR}/パスデータ.txt)
