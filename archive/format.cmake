# Archive format: records, checksum, dates, names and the name-matching rule.
target_sources(kem_archive PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Crc32.cpp
)
