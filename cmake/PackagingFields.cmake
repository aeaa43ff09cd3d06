# Run by CPack after it wrote the packages: adds the Name and Author control fields.
find_program(DPKG_DEB dpkg-deb REQUIRED)
foreach(package ${CPACK_PACKAGE_FILES})
  set(work ${package}.fields)
  file(REMOVE_RECURSE ${work})
  execute_process(COMMAND ${DPKG_DEB} -R ${package} ${work} COMMAND_ERROR_IS_FATAL ANY)
  file(READ ${work}/DEBIAN/control control)
  string(REGEX REPLACE "\n+$" "" control "${control}")
  string(APPEND control "\nName: ${CPACK_TINTWELL_NAME_FIELD}\nAuthor: ${CPACK_TINTWELL_AUTHOR_FIELD}\n")
  file(WRITE ${work}/DEBIAN/control "${control}")
  execute_process(COMMAND ${DPKG_DEB} --root-owner-group -Zgzip -b ${work} ${package}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${work})
endforeach()
