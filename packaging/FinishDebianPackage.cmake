# Run by CPack once it has written the Debian package (CPACK_POST_BUILD_SCRIPTS):
# makes two corrections and builds the package again from its own content.
#
# - CPack adds maintainer scripts that call ldconfig whenever a shared
#   library lies in a folder below /usr/lib. The update library in the
#   program folder is the program's own, found through its run path, and
#   not in the linker's cache: the package needs no maintainer script at all.
# - CPack's Installed-Size counts the launcher link as a second copy of the
#   program and each folder by its block size. It is counted again here as
#   dpkg-gencontrol counts it: each file in KiB rounded up, each link and
#   folder (the top one included) as one.

cmake_policy(PUSH)
cmake_policy(VERSION 3.25)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(root "${package}.content")
  file(REMOVE_RECURSE "${root}")
  execute_process(COMMAND dpkg-deb --raw-extract "${package}" "${root}" COMMAND_ERROR_IS_FATAL ANY)

  # Only CPack's ldconfig calls go, nothing that anyone wrote.
  foreach(script postinst postrm)
    if(EXISTS "${root}/DEBIAN/${script}")
      file(READ "${root}/DEBIAN/${script}" text)
      if(NOT text MATCHES "^#!/bin/sh\n+set -e\n+if \\[ \"\\$1\" = \"[a-z]+\" \\]; then\n\tldconfig\nfi\n*$")
        message(FATAL_ERROR "${script} of ${package} does more than call ldconfig:\n${text}")
      endif()
      file(REMOVE "${root}/DEBIAN/${script}")
    endif()
  endforeach()

  set(size 1)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true "${root}/*")
  foreach(entry IN LISTS entries)
    file(RELATIVE_PATH inside "${root}" "${entry}")
    if(inside MATCHES "^DEBIAN(/|$)")
      continue()
    endif()
    if(IS_SYMLINK "${entry}" OR IS_DIRECTORY "${entry}")
      math(EXPR size "${size} + 1")
    else()
      file(SIZE "${entry}" bytes)
      math(EXPR size "${size} + (${bytes} + 1023) / 1024")
    endif()
  endforeach()
  file(READ "${root}/DEBIAN/control" control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${size}\n" control "${control}")
  file(WRITE "${root}/DEBIAN/control" "${control}")

  execute_process(COMMAND dpkg-deb --root-owner-group --build "${root}" "${package}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${root}")
endforeach()
cmake_policy(POP)
