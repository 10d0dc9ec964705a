# Locator arithmetic: square codes and WWL locators from positions. Plain C++, no Qt; the text to
# number rules are the decoder's.
add_library(kem_maps STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Locator.cpp
)
target_include_directories(kem_maps PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kem_maps PUBLIC kem_gps)
