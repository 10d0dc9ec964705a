# Run at install time (cmake_install.cmake): a desktop menu entry must name its program by an
# absolute path, which is known only once the prefix is.

# kem_install_desktop_entry(TEMPLATE WORK_DIR PROGRAM ICON WM_CLASS DESKTOP_DIR)
#   DESKTOP_DIR: relative to the prefix (the entry and the icons stay inside the program folder,
#   the entry names its icon by path) or absolute (a system folder, whose icon theme finds the
#   icon by name).
function(kem_install_desktop_entry template work_dir program icon wm_class desktop_dir)
  set(exec "${CMAKE_INSTALL_PREFIX}/${program}")
  # Quoted as the desktop entry rules ask: \ " ` $ escaped inside the quotes, then every
  # backslash once more for the string value, and % doubled.
  string(REGEX REPLACE "([\\\\\"`$])" "\\\\\\1" exec "${exec}")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "%" "%%" exec "${exec}")
  set(KEM_EXEC "\"${exec}\"")
  set(KEM_WM_CLASS "${wm_class}")
  if(IS_ABSOLUTE "${desktop_dir}")
    set(data_dir "${desktop_dir}")
    set(KEM_ICON "${icon}")
  else()
    set(data_dir "${CMAKE_INSTALL_PREFIX}/${desktop_dir}")
    set(KEM_ICON "${data_dir}/icons/hicolor/256x256/apps/${icon}.png")
  endif()
  get_filename_component(name "${template}" NAME_WLE)
  configure_file("${template}" "${work_dir}/${name}" @ONLY)
  file(INSTALL DESTINATION "${data_dir}/applications" TYPE FILE FILES "${work_dir}/${name}")
endfunction()
