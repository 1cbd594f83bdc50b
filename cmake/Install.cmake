# Install tree (relative to the prefix):
#   bin/papyra, bin/papyra-batch
#   share/papyra/TaxForms.rpj, share/papyra/help/
#   share/applications/<app id>.desktop, share/mime/packages/papyra.xml
#   share/icons/hicolor/scalable/apps/papyra.svg, share/icons/hicolor/<N>x<N>/apps/papyra.png
#   share/metainfo/<app id>.metainfo.xml
#   share/man/man1/papyra.1.gz, share/man/man1/papyra-batch.1.gz
# The programs find share/papyra from their own folder, so the tree may be moved as a whole.
include(GNUInstallDirs)

set(PAPYRA_APP_ID example.papyra.Papyra)
set(PAPYRA_RELEASE_DATE 2025-12-15)
set(PAPYRA_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/papyra)
set(linux_dir ${PROJECT_SOURCE_DIR}/resources/linux)
set(gen_dir ${CMAKE_BINARY_DIR}/linux)

install(TARGETS papyra papyra-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/TaxForms.rpj DESTINATION ${PAPYRA_DATA_SUBDIR})
# The whole folder: topics, pictures and whatever else the help grows into.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help DESTINATION ${PAPYRA_DATA_SUBDIR})
# The recipients' instructions are read from beside the report project.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/instructions DESTINATION ${PAPYRA_DATA_SUBDIR}
        FILES_MATCHING PATTERN "*.txt")

# Desktop integration.
configure_file(${linux_dir}/papyra.desktop ${gen_dir}/${PAPYRA_APP_ID}.desktop COPYONLY)
configure_file(${linux_dir}/papyra.metainfo.xml.in ${gen_dir}/${PAPYRA_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${gen_dir}/${PAPYRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${gen_dir}/${PAPYRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${linux_dir}/papyra-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME papyra.xml)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/papyra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${PAPYRA_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Manual pages, compressed as Debian policy wants them.
find_program(GZIP_PROGRAM gzip)
foreach(page papyra papyra-batch)
  configure_file(${PROJECT_SOURCE_DIR}/resources/man/${page}.1.in ${gen_dir}/${page}.1 @ONLY)
  set(man_file ${gen_dir}/${page}.1)
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${gen_dir}/${page}.1.gz
      COMMAND ${GZIP_PROGRAM} -9 -n -c ${gen_dir}/${page}.1 > ${gen_dir}/${page}.1.gz
      DEPENDS ${gen_dir}/${page}.1)
    set(man_file ${gen_dir}/${page}.1.gz)
  endif()
  list(APPEND man_files ${man_file})
endforeach()
add_custom_target(papyra_man ALL DEPENDS ${man_files})
install(FILES ${man_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(cmake/Package.cmake)
