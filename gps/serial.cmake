# The serial port driver: POSIX termios underneath, a QTimer for the polling, Qt Core only.
add_library(kem_serial STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TCommPortDriver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CustomBaudRate.cpp)
target_include_directories(kem_serial PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kem_serial PUBLIC Qt6::Core)
