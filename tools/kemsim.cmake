# kemsim, the simulated GPS receiver: sentence generation, replay and pacing in a Qt-free
# library the tests call directly, and a thin program in the program folder.
add_library(kem_kemsim STATIC
  ${CMAKE_CURRENT_LIST_DIR}/kemsim/NmeaSentence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kemsim/Options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kemsim/ReplayLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kemsim/Route.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kemsim/SimulatedReceiver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kemsim/Sky.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kemsim/Transmitter.cpp)
target_include_directories(kem_kemsim PUBLIC ${CMAKE_SOURCE_DIR})

add_executable(kemsim ${CMAKE_CURRENT_LIST_DIR}/kemsim/main.cpp)
target_link_libraries(kemsim PRIVATE kem_kemsim)
