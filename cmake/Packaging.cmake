# `cpack -G DEB` in a build folder makes velmora_<version>_<arch>.deb from the install rules,
# with the shared libraries' packages as its dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT "The Velmora developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "MP3 tag editor and renamer")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora loads the MP3 files of a folder into a sortable list and edits their ID3v2 and "
    "ID3v1 tags, one file or many at once, including comments and cover pictures. It renames "
    "files from tag patterns, fills tags from file names with a regular expression, numbers "
    "tracks and exports M3U, PLS and XML lists. velmora-cli runs the same operations from "
    "scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
