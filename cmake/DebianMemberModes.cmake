# Run by cpack after it made the Debian package: the package's own members (debian-binary,
# control.tar.gz, data.tar.gz) carry the mode of the files cpack wrote, and so the builder's
# umask. They get 0644, as dpkg-deb writes them, in place: nothing else changes.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE "${package}" package_size)
  file(WRITE "${CPACK_TEMPORARY_DIRECTORY}/member-mode" "100644  ")
  set(header 8)  # after "!<arch>\n"
  while(header LESS package_size)
    # An ar member's header: name 16, time 12, owner 6, group 6, mode 8, size 10, end 2.
    math(EXPR size_at "${header} + 48")
    file(READ "${package}" size OFFSET ${size_at} LIMIT 10)
    string(STRIP "${size}" size)
    math(EXPR mode_at "${header} + 40")
    execute_process(COMMAND dd "of=${package}" bs=1 seek=${mode_at} conv=notrunc status=none
                    INPUT_FILE "${CPACK_TEMPORARY_DIRECTORY}/member-mode" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "could not set the modes of ${package}'s members")
    endif()
    math(EXPR header "${header} + 60 + ${size} + (${size} % 2)")
  endwhile()
endforeach()
