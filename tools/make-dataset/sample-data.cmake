# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the sample dictionary in FOLDER unless a sound one, newer than the builder and its
# sources, is there already. Fails, saying what to do, when the sources are missing or the
# builder refuses them; a failed run leaves no stamp, so the next build tries again.
#   cmake -DBUILDER=... -DFOLDER=... -DDICT_INDEX=... -DDICT_DATA=... -DWORDNET=...
#         -DSOURCES="a|b|..." -DSTAMP=... -DREPORT=... -P sample-data.cmake
string(REPLACE "|" ";" sources "${SOURCES}")

set(missing "")
foreach(source IN LISTS sources)
    if(NOT EXISTS "${source}")
        list(APPEND missing "${source}")
    endif()
endforeach()
if(missing)
    list(JOIN missing "\n  " missing_lines)
    message(FATAL_ERROR "The sample dictionary cannot be made: these sources are missing:\n"
                        "  ${missing_lines}\n"
                        "They come with the Debian packages dict-freedict-eng-ara and "
                        "wordnet-base; scripts/setup.sh installs them.")
endif()

# Up to date: the stamp is newer than the builder and every source, and the set is sound.
set(current FALSE)
if(EXISTS "${STAMP}")
    set(current TRUE)
    foreach(input IN LISTS sources ITEMS "${BUILDER}")
        if("${input}" IS_NEWER_THAN "${STAMP}")
            set(current FALSE)
        endif()
    endforeach()
endif()
if(current)
    execute_process(COMMAND "${BUILDER}" --check "${FOLDER}" RESULT_VARIABLE status
                    OUTPUT_VARIABLE check_output ERROR_VARIABLE check_output)
    if(status EQUAL 0)
        message(STATUS "The sample dictionary in ${FOLDER} is up to date")
        return()
    endif()
    message(STATUS "The sample dictionary in ${FOLDER} is missing or unsound: making it again")
endif()

file(REMOVE "${STAMP}")
message(STATUS "Making the sample dictionary in ${FOLDER}")
execute_process(COMMAND "${BUILDER}" --out "${FOLDER}" --dict-index "${DICT_INDEX}"
                        --dict-data "${DICT_DATA}" --wordnet "${WORDNET}"
                RESULT_VARIABLE status OUTPUT_FILE "${REPORT}" ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "The data-set builder refused to make the sample dictionary "
                        "(status ${status}):\n${errors}\nIts report is in ${REPORT}.")
endif()
# The builder's own verdict on what it wrote, before the set counts as made.
execute_process(COMMAND "${BUILDER}" --check "${FOLDER}" RESULT_VARIABLE status
                OUTPUT_VARIABLE check_output ERROR_VARIABLE check_output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "The sample dictionary was made but does not pass the check:\n"
                        "${check_output}")
endif()
file(READ "${REPORT}" report)
message("${report}")
file(TOUCH "${STAMP}")
