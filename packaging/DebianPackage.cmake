# The Debian package of the game: "cpack -G DEB" in a build folder. It holds exactly what
# "cmake --install" installs for the game component, under /usr.
set(CPACK_PACKAGE_NAME brisgola)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Brisgola Authors")
set(CPACK_PACKAGE_CONTACT "The Brisgola Authors <info@brisgola.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.brisgola.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rock, paper, scissors against the computer")
# Debian shows the long description as written, so its lines are kept short here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Brisgola is a small desktop game for X11: a countdown of three, two, one,"
    "then you pick rock, paper or scissors against the computer's hidden choice."
    "The first side to win ten rounds wins the game. The crowd applauds when you"
    "take a round and laughs when the computer does.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Only the game's install rules; anything another part of the project may install one day
# (tools, the driver) stays out of the package.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};game;/")
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Brisgola Authors <info@brisgola.org>")
# dpkg-shlibdeps reads the libraries the program really links (the X client library, libc and
# the C++ runtime) and the lowest versions that carry the symbols it uses.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS alsa-utils)
include(CPack)
