# `make package`: a Debian package by CPack. scripts/build-package configures a build for
# it (prefix /usr, the programs in /usr/games, the puzzles in /usr/share/games/vakido).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vakido)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vakido developers <developers@vakido.org>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sudoku with four levels of rated puzzles")
# CPack indents each line and turns the empty ones into Debian's paragraph marks.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vakido is the nine-by-nine number-placement puzzle for the desktop: fill the
grid so that every row, every column and every three-by-three box holds the
digits 1 to 9 exactly once.

Choose Easy, Medium, Hard or Expert and play with the mouse or with the
keyboard alone. Check marks your wrong digits, Hint reveals one cell, and
Show solution reveals them all. Every puzzle has a single solution and is
rated by the hardest of eleven logical techniques it needs.

The package also holds vakidogenerator, which writes, rates, explains,
solves, checks and imports puzzle files, so you can play your own puzzles.")
include(CPack)
