# Run at install time, when the real prefix is known: fills in the manual page and
# compresses it and the change log as Debian wants them (gzip -9n: no name, no time).
configure_file("${QUILLMARK_MAN_IN}" "${QUILLMARK_OUT}/quillmark.1" @ONLY)
configure_file("${QUILLMARK_CHANGELOG_IN}" "${QUILLMARK_OUT}/changelog" @ONLY)
foreach(file quillmark.1 changelog)
    execute_process(COMMAND gzip -9n -c "${QUILLMARK_OUT}/${file}"
        OUTPUT_FILE "${QUILLMARK_OUT}/${file}.gz" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "gzip failed on ${file}")
    endif()
endforeach()
