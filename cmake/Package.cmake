# The Debian package: cpack -G DEB in the build folder gives papyra_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME papyra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Papyra)
set(CPACK_PACKAGE_CONTACT "Papyra <support@papyra.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare and print the US information returns of tax year 2025")
set(CPACK_PACKAGE_DESCRIPTION
    "Papyra prepares and prints the US information returns of tax year 2025 for a small\n"
    "business or its bookkeeper: Forms 1098, 1099-DIV, 1099-INT, 1099-MISC, 1099-NEC,\n"
    "1099-R and 1099-S and the Form 1096, with a print preview, PDF and HTML export and\n"
    "mailing labels. papyra-batch prints the same forms and labels from scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://papyra.example/)
# Shared libraries are found by dpkg-shlibdeps (libqt6gui6 brings the X11 platform plugin);
# what the programs load at run time by name is declared: the SVG icon engine the window icon
# is drawn with, and the fonts the forms and labels print in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, fonts-liberation, fonts-urw-base35, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
