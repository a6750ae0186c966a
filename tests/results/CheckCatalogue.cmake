# Fails when the English catalogue lacks a text of the sources or holds an unfinished one:
# lupdate is run on a copy, which must come out finished and with every text it had.
#   LUPDATE=... cmake -DSOURCE_DIR=... -DWORK=... -P CheckCatalogue.cmake
set(ts ${WORK}/zelvano_en.ts)
file(MAKE_DIRECTORY ${WORK})
file(COPY_FILE ${SOURCE_DIR}/translations/zelvano_en.ts ${ts})
execute_process(COMMAND ${SOURCE_DIR}/scripts/update-translations ${ts}
    RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${errors}")
endif()
file(READ ${ts} text)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" unfinished
       "${text}")
if(unfinished)
    string(REPLACE ";" "\n" unfinished "${unfinished}")
    message(FATAL_ERROR "texts without an English translation (run scripts/update-translations "
                        "and translate them):\n${unfinished}")
endif()
file(READ ${SOURCE_DIR}/translations/zelvano_en.ts before)
if(NOT before STREQUAL text)
    message(FATAL_ERROR "translations/zelvano_en.ts is not what lupdate makes of the sources: "
                        "run scripts/update-translations")
endif()
