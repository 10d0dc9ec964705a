# The windows of KEMGPS in one library, so the program and the window tests link the same
# objects; KEMGPS itself is only its entry point.
add_library(kem_forms STATIC
  ${CMAKE_SOURCE_DIR}/app/Artwork.cpp
  ${CMAKE_SOURCE_DIR}/app/Cp1257.cpp
  ${CMAKE_SOURCE_DIR}/app/ErrorBox.cpp
  ${CMAKE_SOURCE_DIR}/app/Forms.cpp
  ${CMAKE_SOURCE_DIR}/app/KemApplication.cpp
  ${CMAKE_SOURCE_DIR}/app/MapFiles.cpp
  ${CMAKE_SOURCE_DIR}/app/MapMark.cpp
  ${CMAKE_SOURCE_DIR}/app/PortChoices.cpp
  ${CMAKE_SOURCE_DIR}/app/ProgramDir.cpp
  ${CMAKE_SOURCE_DIR}/app/SettingsText.cpp
  ${CMAKE_SOURCE_DIR}/app/SheetCache.cpp
  ${CMAKE_SOURCE_DIR}/app/TFormMain.cpp
  ${CMAKE_SOURCE_DIR}/app/TFormMain.h
  ${CMAKE_SOURCE_DIR}/app/TFormMainBuild.cpp
  ${CMAKE_SOURCE_DIR}/app/TFormMainMap.cpp
  ${CMAKE_SOURCE_DIR}/app/TFormSet.cpp
  ${CMAKE_SOURCE_DIR}/app/TFormSet.h
  ${CMAKE_SOURCE_DIR}/app/WindowLook.cpp
  ${CMAKE_SOURCE_DIR}/gps/TFormMemo.cpp
  ${CMAKE_SOURCE_DIR}/gps/TFormMemo.h
  ${CMAKE_SOURCE_DIR}/maps/TFormQTH.cpp
  ${CMAKE_SOURCE_DIR}/maps/TFormQTH.h
  ${CMAKE_SOURCE_DIR}/sats/TFormSat.cpp
  ${CMAKE_SOURCE_DIR}/sats/TFormSat.h
)
set_target_properties(kem_forms PROPERTIES AUTOMOC ON)
target_include_directories(kem_forms PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kem_forms PUBLIC Qt6::Widgets kem_gps kem_serial kem_ini kem_maps kem_archive)

add_executable(KEMGPS ${CMAKE_SOURCE_DIR}/app/main.cpp)
target_link_libraries(KEMGPS PRIVATE kem_forms)
