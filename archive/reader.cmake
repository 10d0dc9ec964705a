# Archive reader: the shared component base, the extractor with its decoders, and TUnZip.
target_sources(kem_archive PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EntryWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Expand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Explode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Extractor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutputFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TUnZip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unshrink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ZipComponent.cpp
)
