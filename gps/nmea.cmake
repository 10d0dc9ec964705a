# The NMEA decoder: bytes to lines, sentences to fix texts and satellite table, the position step
# through a host interface. Plain C++, no Qt.
add_library(kem_gps STATIC
  ${CMAKE_CURRENT_LIST_DIR}/LineAssembler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NmeaDecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NmeaFields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SatelliteTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextConvert.cpp
)
target_include_directories(kem_gps PUBLIC ${CMAKE_SOURCE_DIR})
