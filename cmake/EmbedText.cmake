# rezuro_embed_text(<target> <symbol> <files...>)
# Concatenates the given text files, in order, into one zero-terminated C string
# `extern const char <symbol>[]` compiled into <target>. The text is regenerated
# whenever one of the files changes.
function(rezuro_embed_text target symbol)
    set(files ${ARGN})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp)
    set(abs_files)
    foreach(f IN LISTS files)
        get_filename_component(a ${f} ABSOLUTE)
        list(APPEND abs_files ${a})
    endforeach()
    string(REPLACE ";" "|" joined "${abs_files}")
    add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -DSYMBOL=${symbol} "-DFILES=${joined}" -DOUT=${out}
                -P ${PROJECT_SOURCE_DIR}/cmake/EmbedTextScript.cmake
        DEPENDS ${abs_files} ${PROJECT_SOURCE_DIR}/cmake/EmbedTextScript.cmake
        COMMENT "Embedding ${symbol}"
        VERBATIM)
    target_sources(${target} PRIVATE ${out})
endfunction()
