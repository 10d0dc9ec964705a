# Settings file access with the profile rules. Plain C++, no Qt.
add_library(kem_ini STATIC
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
)
target_include_directories(kem_ini PUBLIC ${CMAKE_SOURCE_DIR})
