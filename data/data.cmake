# The program folder holds the map folder and the expedition folder beside the programs (the
# program never creates them itself) and the square data file, generated from the locator
# arithmetic.
file(MAKE_DIRECTORY ${KEM_PROGRAM_DIR}/SKVERAI ${KEM_PROGRAM_DIR}/EKSPEDICIJOS)

add_executable(MakeKemWwl ${CMAKE_CURRENT_LIST_DIR}/MakeKemWwl.cpp)
target_link_libraries(MakeKemWwl PRIVATE kem_maps)
set_target_properties(MakeKemWwl PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_custom_command(OUTPUT ${KEM_PROGRAM_DIR}/KEMWWL.dat
                   COMMAND MakeKemWwl ${KEM_PROGRAM_DIR}/KEMWWL.dat
                   DEPENDS MakeKemWwl
                   COMMENT "Square data file KEMWWL.dat")
add_custom_target(kemwwl_dat ALL DEPENDS ${KEM_PROGRAM_DIR}/KEMWWL.dat)
