# Run by CPack after it has staged each component and before it packs them: brings the staged
# files to what Debian asks of a package. For each package:
#   - manual pages compressed with gzip -9n (no name or time stamp in the file);
#   - usr/share/doc/<package>/copyright, and a changelog.Debian.gz naming this version.
# CPack hands over its CPACK_* settings; the staged components are the folders of
# CPACK_TEMPORARY_INSTALL_DIRECTORY, one per component.

find_program(TARVELO_GZIP gzip REQUIRED)

function(tarvelo_gzip file)
  execute_process(COMMAND ${TARVELO_GZIP} -9nf ${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${file}")
  endif()
endfunction()

# The changelog's date: SOURCE_DATE_EPOCH when set, so that a rebuild makes the same package.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(version "${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${component}${CPACK_PACKAGING_INSTALL_PREFIX}")
  if(NOT IS_DIRECTORY "${root}")
    message(FATAL_ERROR "the staged component ${component} is not at ${root}")
  endif()

  file(GLOB_RECURSE pages "${root}/share/man/*")
  foreach(page IN LISTS pages)
    if(NOT page MATCHES "\\.gz$")
      tarvelo_gzip(${page})
    endif()
  endforeach()

  set(doc "${root}/share/doc/${package}")
  file(MAKE_DIRECTORY "${doc}")
  file(COPY_FILE "${CPACK_TARVELO_COPYRIGHT_FILE}" "${doc}/copyright")
  file(WRITE "${doc}/changelog.Debian"
       "${package} (${version}) unstable; urgency=medium\n\n"
       "  * Packaged from the Tarvelo sources with CPack.\n\n"
       " -- ${CPACK_PACKAGE_CONTACT}  ${changelog_date}\n")
  tarvelo_gzip("${doc}/changelog.Debian")
  file(CHMOD_RECURSE "${doc}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
       DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
