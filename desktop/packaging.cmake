# `cpack -G DEB` in a build folder makes a Debian package of what `cmake --install` puts
# in place, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "The Quillmark developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of the files in a folder")
set(CPACK_PACKAGE_DESCRIPTION
"Quillmark lists the files of one folder with their sizes in bytes and the
dates and times of their last change. A wildcard pattern and five attribute
switches narrow the list; the number of files and their total size are shown
beneath it. The catalogue can be previewed in a scrollable picture, printed
in pages with a header and page numbers, saved as comma-separated text or
CSV, or copied to the clipboard in part. From the command line, without a
window or a display, it saves the catalogue of a folder or a whole tree as
text, CSV or JSON, or prints it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLMARK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLMARK_HOMEPAGE}")
# The libraries the program links come from dpkg-shlibdeps; the window-system plugins are
# loaded at run time, so no linker sees them, and without one the program cannot start.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
