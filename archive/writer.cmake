# Archive writer: the Shrink compressor and the TZip component (used by KEMZIP).
target_sources(kem_archive PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/BinaryFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShrinkEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TZip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipWriter.cpp
)
