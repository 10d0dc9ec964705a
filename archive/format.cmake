# Archive format: records, checksum, dates, names and the name-matching rule.
target_sources(kem_archive PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Crc32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DosTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NameMatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PathParts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipFormat.cpp
)
