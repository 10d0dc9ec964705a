# Archive reader: the shared component base, the extractor with its decoders, and TUnZip.
target_sources(kem_archive PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ZipComponent.cpp
)
