# What `cpack` makes from the installed tree: a .deb on Linux, whose
# dependencies dpkg-shlibdeps computes from the programs, and a .zip of the
# programs and README for Windows.
if(WIN32)
  install(FILES README.md DESTINATION .)
else()
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME qvfileutils)
set(CPACK_PACKAGE_VENDOR "QV fileutils")
set(CPACK_PACKAGE_CONTACT "QV fileutils maintainers <maintainers@qvfileutils.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "console file utilities: split, join, check, random files, tree runner")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "qvsplit cuts files into pieces of 1,440,000 bytes and qvjoin puts them back "
  "together; qvcheck tells whether every byte of a file can be read; qvrandfile "
  "writes test files of given sizes; qvforeach runs a command for every regular "
  "file in a directory tree, safe with any file name.")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
