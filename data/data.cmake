# The program folder holds the map folder and the expedition folder beside the programs; the
# program never creates them itself.
file(MAKE_DIRECTORY ${KEM_PROGRAM_DIR}/SKVERAI ${KEM_PROGRAM_DIR}/EKSPEDICIJOS)
