# One ZIP archive per program (cmake --build build/mingw --target package):
# each holds what that program's folder needs on a Windows PC. The test
# stand-ins (XlStandIn.dll and the test programs) are never installed.
# Only the 32-bit tree makes them: the shipped programs are 32-bit.
if(NOT WIN32 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  return()
endif()

set(KESTRO_HINT_DIR ${CMAKE_SOURCE_DIR}/doc)

# The updater belongs in every program folder.
function(kestro_package_updater component)
  if(TARGET downloader)
    install(PROGRAMS $<TARGET_FILE:downloader> DESTINATION . COMPONENT ${component})
  endif()
endfunction()

# Client: Kestro.exe, its hook library, the updater, the report template, the hint page.
if(TARGET Kestro)
  install(TARGETS Kestro RUNTIME DESTINATION . COMPONENT client)
endif()
if(TARGET snaptrap)
  install(PROGRAMS $<TARGET_FILE:snaptrap> DESTINATION . COMPONENT client)
endif()
kestro_package_updater(client)
install(FILES ${KESTRO_TEMPLATE_DIR}/template.xls DESTINATION . COMPONENT client)
install(FILES ${KESTRO_HINT_DIR}/clienthint.html DESTINATION doc COMPONENT client)

# Manager: kestroMgr.exe, the comment editor, the updater, its templates, the hint page.
if(TARGET kestroMgr)
  install(TARGETS kestroMgr RUNTIME DESTINATION . COMPONENT manager)
endif()
if(TARGET noteLens)
  install(TARGETS noteLens RUNTIME DESTINATION . COMPONENT manager)
endif()
kestro_package_updater(manager)
install(FILES ${KESTRO_TEMPLATE_DIR}/list.xls ${KESTRO_TEMPLATE_DIR}/imageList.xls DESTINATION . COMPONENT manager)
install(FILES ${KESTRO_TEMPLATE_DIR}/template/TAN-01.xls ${KESTRO_TEMPLATE_DIR}/template/TAN-02.xls
              ${KESTRO_TEMPLATE_DIR}/template/TAN-03.xls DESTINATION template COMPONENT manager)
install(FILES ${KESTRO_HINT_DIR}/hint.html DESTINATION doc COMPONENT manager)

# Updater alone, to put into a program folder by hand.
kestro_package_updater(updater)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME kestro)
set(CPACK_PACKAGE_VENDOR Veltrana)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_COMPONENTS_ALL client manager updater)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_CLIENT_FILE_NAME Kestro)
set(CPACK_ARCHIVE_MANAGER_FILE_NAME kestroMgr)
set(CPACK_ARCHIVE_UPDATER_FILE_NAME downloader)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
