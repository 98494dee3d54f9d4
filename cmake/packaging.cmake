# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: packaging/make-deb.sh configures a build folder of its own with
# Debian's build flags and VELLUMSTACK_PACKAGE, where `cpack -G DEB` makes
# vellumstack_<version>_<arch>.deb from the install rules, with the prefix /usr. Its
# dependencies are read from the programs' shared libraries (dpkg-shlibdeps), and the font
# packages are named below. When the sources of the sample dictionary are there, it is made
# first, so the package carries it.
#
# Besides the install rules of the programs, the package carries the AppStream metadata and,
# in usr/share/doc/vellumstack, the copyright file with the programs' licence and the data
# set's licence notices and the changelog, and the manual pages. They are installed by
# `cmake --install` from any build folder as well.

include(GNUInstallDirs)

set(VELLUMSTACK_SCREENSHOT_URL "https://vellumstack.org/screenshot.png"
    CACHE STRING "Where the AppStream metadata says the screenshot is published")

set(packaging_source ${CMAKE_SOURCE_DIR}/packaging)
set(packaging_binary ${CMAKE_BINARY_DIR}/packaging)
set(packaging_maintainer "Vellumstack maintainers <maintainers@vellumstack.org>")
set(packaging_doc_folder ${CMAKE_INSTALL_DATAROOTDIR}/doc/vellumstack)
# Read while configuring: a change to them configures again.
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${packaging_source}/changelog ${packaging_source}/description.txt)

# The changelog's newest entry is the package's version; its date is the release date of the
# AppStream metadata.
file(STRINGS ${packaging_source}/changelog changelog_lines)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^vellumstack \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not begin with an entry for version "
                        "${PROJECT_VERSION}: add one (${changelog_head})")
endif()
set(release_date "")
foreach(line IN LISTS changelog_lines)
    if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        set(day ${CMAKE_MATCH_1})
        set(year ${CMAKE_MATCH_3})
        set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        list(FIND months ${CMAKE_MATCH_2} month)
        math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
        if(month LESS 10)
            set(month 0${month})
        endif()
        set(release_date ${year}-${month}-${day})
        break()
    endif()
endforeach()
if(release_date STREQUAL "" OR release_date MATCHES "-00-")
    message(FATAL_ERROR "packaging/changelog: the newest entry has no trailer line with a date")
endif()

set(VELLUMSTACK_RELEASE_DATE ${release_date})
set(metainfo_id org.vellumstack.vellumstack)
configure_file(${packaging_source}/metainfo.xml.in ${packaging_binary}/${metainfo_id}.metainfo.xml
               @ONLY)
install(FILES ${packaging_binary}/${metainfo_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# Debian keeps the changelog and the manual pages compressed at the highest level and without
# a time stamp.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(manual_pages vellumstack.1 vellumstack-lookup.1 vellumstack-make-dataset.1)
set(compressed "")
foreach(file changelog ${manual_pages})
    list(APPEND compressed ${packaging_binary}/${file}.gz)
    add_custom_command(
        OUTPUT ${packaging_binary}/${file}.gz
        COMMAND ${GZIP_PROGRAM} -9 -n -c ${packaging_source}/${file} > ${packaging_binary}/${file}.gz
        DEPENDS ${packaging_source}/${file}
        COMMENT "Compressing ${file}"
        VERBATIM)
endforeach()
add_custom_target(packaging-compressed ALL DEPENDS ${compressed})
install(FILES ${packaging_source}/copyright ${packaging_binary}/changelog.gz
        DESTINATION ${packaging_doc_folder})
list(TRANSFORM manual_pages PREPEND ${packaging_binary}/)
list(TRANSFORM manual_pages APPEND .gz)
install(FILES ${manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(NOT VELLUMSTACK_PACKAGE)
    return()
endif()

# Makes the sample dictionary before cpack installs into its staging folder, when its
# sources are there; otherwise the package takes whatever data set the program folder holds.
if(TARGET sample-data)
    get_target_property(sample_sources sample-data VELLUMSTACK_SOURCES)
    file(CONFIGURE OUTPUT ${packaging_binary}/sample-data.cmake CONTENT [[
set(sources "@sample_sources@")
set(missing "")
foreach(source IN LISTS sources)
    if(NOT EXISTS "${source}")
        list(APPEND missing "${source}")
    endif()
endforeach()
if(missing)
    message(STATUS "Packaging without making the sample dictionary: missing ${missing}")
    return()
endif()
execute_process(COMMAND "@CMAKE_COMMAND@" --build "@CMAKE_BINARY_DIR@" --target sample-data
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "The sample dictionary could not be made (status ${status})")
endif()
]] @ONLY)
    set(CPACK_INSTALL_SCRIPTS ${packaging_binary}/sample-data.cmake)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumstack)
set(CPACK_PACKAGE_VENDOR "the Vellumstack developers")
set(CPACK_PACKAGE_CONTACT ${packaging_maintainer})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "offline English-Arabic dictionary with idioms and expressions")
# (Read here: cpack would escape the file's apostrophes for XML.)
file(READ ${packaging_source}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces that stand in for the window's design faces (README, "Fonts"); dpkg-shlibdeps
# adds the libraries to Depends. Without Liberation Serif the caption "  Definitions for:"
# is cut short in every run, and the font is small: a dependency. P052 (the search box)
# and Noto Sans Arabic (the definitions) only bring the text closer to its design, since
# the fallback faces show it whole and legible, and together they are some 58 MB: a
# recommendation, which apt installs unless told not to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-urw-base35, fonts-noto-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
