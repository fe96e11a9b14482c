# The data template of the build tree, share/pavsdi beside the programs:
# the files of data/orfeon and the sound cues made by scripts/make-cues.
set(PAVSDI_TEMPLATE ${CMAKE_BINARY_DIR}/share/pavsdi)
file(GLOB PAVSDI_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/orfeon/*)
add_custom_command(OUTPUT ${PAVSDI_TEMPLATE}/orfeon/edition.wav
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PAVSDI_TEMPLATE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PAVSDI_TEMPLATE}/orfeon
  COMMAND ${CMAKE_COMMAND} -E copy ${PAVSDI_DATA_FILES} ${PAVSDI_TEMPLATE}/orfeon/
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make-cues ${PAVSDI_TEMPLATE}
  DEPENDS ${PAVSDI_DATA_FILES} ${CMAKE_SOURCE_DIR}/scripts/make-cues
  COMMENT "Data template")
