# The release package: what an administrator unpacks on a monitoring probe.
#
#   quenmarel-4.3-windows-x64/ (or -x86/ from the 32-bit build, -linux-x64/ natively)
#     quenmarel(.exe), quenmarel-profile(.exe), README.md
#     nwrfc-bridge/, rfclib/, tools/rfcsim/      the READMEs the README links to
#     examples/                                   profiles, listings, rfcsim scenario
#     NetWeaver-RFC-bridge/                       the bridge's LIBRFC32.dll (librfc32.so)
#     stand-in-LIBRFC32-for-testing-without-SAP/  Linux only: our librfc32.so and rfcsim
#
# The stand-in library is kept out of the program's own folder on purpose: on a
# real probe the vendor's LIBRFC32.dll lies beside quenmarel.exe, and copying
# ours there is a deliberate step for a trial against rfcsim.  It talks to
# nothing but rfcsim, which is built for Linux only (POSIX sockets, signals and
# threads), so the Windows packages leave it out: there it could not be tried.
#
# `cpack` in a build directory writes the archive (ZIP for Windows, tar.gz
# elsewhere); `cmake --install` lays out the same tree without archiving it.

set(QUENMAREL_STAND_IN_FOLDER "stand-in-LIBRFC32-for-testing-without-SAP")

install(TARGETS quenmarel quenmarel-profile RUNTIME DESTINATION .)
# The stand-in only together with the server it talks to; the library itself
# (LIBRARY, the shared object), without build junk.
if(TARGET rfcsim)
  install(TARGETS rfc32 LIBRARY DESTINATION ${QUENMAREL_STAND_IN_FOLDER})
  install(TARGETS rfcsim RUNTIME DESTINATION ${QUENMAREL_STAND_IN_FOLDER})
endif()
# The NetWeaver bridge in a folder of its own too: it goes beside the sensor
# together with the SDK's libraries, which the package cannot carry.  The
# stand-in NetWeaver library is a test double and never shipped.
set(QUENMAREL_BRIDGE_FOLDER "NetWeaver-RFC-bridge")
install(TARGETS nwrfc_bridge
        RUNTIME DESTINATION ${QUENMAREL_BRIDGE_FOLDER}
        LIBRARY DESTINATION ${QUENMAREL_BRIDGE_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
# The READMEs the README links to, at the same relative paths, so that its
# links resolve inside the package as they do in the source tree.
foreach(linked_readme nwrfc-bridge rfclib tools/rfcsim)
  install(FILES ${PROJECT_SOURCE_DIR}/${linked_readme}/README.md DESTINATION ${linked_readme})
endforeach()
# The examples by name: a trial run from the source tree leaves its run files
# (Quenmarel.runs, SapRfc.ini, Dev_Rfc.Trc, ...) in examples/, and none of
# them may ship.
set(QUENMAREL_EXAMPLES PRD.P00 DEV.P00 QAS.P00 Gastrelo.Prf "SAP Gastrelo.Gbl" demo.scenario)
foreach(example IN LISTS QUENMAREL_EXAMPLES)
  install(FILES "${PROJECT_SOURCE_DIR}/examples/${example}" DESTINATION examples)
endforeach()

if(WIN32)
  set(package_platform windows)
  set(CPACK_GENERATOR ZIP)
else()
  string(TOLOWER ${CMAKE_SYSTEM_NAME} package_platform)
  set(CPACK_GENERATOR TGZ)
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  string(APPEND package_platform -x64)
else()
  string(APPEND package_platform -x86)
endif()

set(CPACK_PACKAGE_NAME quenmarel)
set(CPACK_PACKAGE_VENDOR "Quenmarel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Command-line sensor for the paging and roll areas of SAP application servers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The archive's name is also its top directory.
set(CPACK_PACKAGE_FILE_NAME quenmarel-${PROJECT_VERSION}-${package_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Symbols only make the download bigger; nobody debugs on a probe.
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
