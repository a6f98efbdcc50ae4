# Finds what a part of the build needs, or stops at configure time naming the Debian
# package that provides it and the option that leaves that part out.

# tarvelo_find_package(<Package> <debian-package> <option> [find_package arguments...])
macro(tarvelo_find_package package debian_package option)
  find_package(${package} ${ARGN} QUIET)
  if(NOT ${package}_FOUND)
    string(REPLACE ";" " " _tarvelo_wanted "${package};${ARGN}")
    message(FATAL_ERROR
      "${_tarvelo_wanted} not found: install the Debian package ${debian_package} "
      "(script/bootstrap test installs everything the build can use) or configure with -D${option}=OFF.")
  endif()
endmacro()

# tarvelo_find_program(<variable> <program> <debian-package> <option>)
function(tarvelo_find_program variable program debian_package option)
  find_program(${variable} ${program})
  if(NOT ${variable})
    message(FATAL_ERROR
      "${program} not found: install the Debian package ${debian_package} "
      "(script/bootstrap test installs everything the build can use) or configure with -D${option}=OFF.")
  endif()
endfunction()
