# The Debian package. In the build folder, `cpack -G DEB` installs what
# `cmake --install` installs under /usr, strips the programs and writes
# sumtra_<version>_<architecture>.deb. The dependencies are read off the
# programs by dpkg-shlibdeps (dpkg-dev), so they follow the libraries the build
# actually linked.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sumtra)
set(CPACK_PACKAGE_VENDOR "The Sumtra developers")
set(CPACK_PACKAGE_CONTACT "The Sumtra developers <developers@sumtra.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for formulas of complex numbers")
set(CPACK_PACKAGE_DESCRIPTION
  "Sumtra evaluates small programs of formulas: expressions, assignments,
functions of the user's own and comments. Every value is a complex number with
80-bit extended-precision parts, shown in decimal, binary, hexadecimal, Roman,
time or angle form.

The package holds the desktop calculator sumtra (Qt 6) and the console runner
sumtra-cli, which evaluates the same programs in a terminal or a script.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders as Debian wants them whatever the umask of whoever runs cpack.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# /usr/share/doc/sumtra: the licence in Debian's machine-readable copyright
# format, taken from LICENSE, and the changelog of this version. Debian calls
# the MIT licence of LICENSE "Expat".
set(doc_dir ${PROJECT_BINARY_DIR}/deb)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.+)$")
  message(FATAL_ERROR "LICENSE has no 'Copyright (c) ...' line followed by the licence text")
endif()
set(copyright_holder "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" license_text)
string(REPLACE "\n\n" "\n.\n" license_text "${license_text}")
string(REPLACE "\n" "\n " license_text " ${license_text}")
file(CONFIGURE OUTPUT ${doc_dir}/copyright @ONLY CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: @PROJECT_NAME@
Upstream-Contact: @CPACK_PACKAGE_CONTACT@
Source: @PROJECT_HOMEPAGE_URL@

Files: *
Copyright: @copyright_holder@
License: Expat
Comment: The MIT licence, as in the file LICENSE of the sources.

License: Expat
@license_text@
")

execute_process(COMMAND date -u -R -d "${SUMTRA_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE release_date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(CONFIGURE OUTPUT ${doc_dir}/changelog @ONLY CONTENT
"sumtra (@PROJECT_VERSION@) unstable; urgency=medium

  * Release @PROJECT_VERSION@: the desktop calculator sumtra and the console
    runner sumtra-cli. The release notes are in the AppStream metadata,
    /usr/share/metainfo/@SUMTRA_APP_ID@.metainfo.xml.

 -- @CPACK_PACKAGE_CONTACT@  @release_date@
")
execute_process(COMMAND gzip -9n -c ${doc_dir}/changelog OUTPUT_FILE ${doc_dir}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${doc_dir}/copyright ${doc_dir}/changelog.gz DESTINATION share/doc/sumtra)

include(CPack)
set(SUMTRA_DEB_PACKAGE ON)
