# Man pages, with the version and the puzzle directory of this build filled in and
# compressed as Debian wants them (gzip -9n: no name, no time stamp), and the copyright
# and changelog a package carries.
find_program(GZIP gzip REQUIRED)
set(VERSION ${PROJECT_VERSION})
set(PUZZLE_DIR "${CMAKE_INSTALL_PREFIX}/${VAKIDO_PUZZLE_INSTALL_DIR}")
set(compressed_documents)
foreach(page vakido.6 vakidogenerator.6)
  configure_file(docs/man/${page} ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
  list(APPEND compressed_documents ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
configure_file(data/debian/changelog ${CMAKE_BINARY_DIR}/man/changelog COPYONLY)
list(APPEND compressed_documents ${CMAKE_BINARY_DIR}/man/changelog.gz)
foreach(document ${compressed_documents})
  string(REGEX REPLACE "\\.gz$" "" source ${document})
  add_custom_command(OUTPUT ${document}
    COMMAND ${GZIP} -9nc ${source} > ${document}
    DEPENDS ${source} COMMENT "Compressing ${source}")
endforeach()
add_custom_target(documents ALL DEPENDS ${compressed_documents})

install(FILES ${CMAKE_BINARY_DIR}/man/vakido.6.gz ${CMAKE_BINARY_DIR}/man/vakidogenerator.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES data/debian/copyright ${CMAKE_BINARY_DIR}/man/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vakido)
