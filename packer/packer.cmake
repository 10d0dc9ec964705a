# KEMZIP, the map packer: Qt-free packing logic, the window, and the program.
add_library(kem_packer STATIC ${CMAKE_CURRENT_LIST_DIR}/MapPacker.cpp)
target_link_libraries(kem_packer PUBLIC kem_archive)

# The standard error box is the one KEMGPS shows too.
add_library(kem_packer_forms STATIC ${CMAKE_CURRENT_LIST_DIR}/TForm1.cpp
                                    ${CMAKE_SOURCE_DIR}/app/ErrorBox.cpp)
target_link_libraries(kem_packer_forms PUBLIC kem_packer Qt6::Widgets)

add_executable(KEMZIP ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(KEMZIP PRIVATE kem_packer_forms)
