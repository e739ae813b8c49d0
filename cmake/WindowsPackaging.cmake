# The Windows program as a portable zip and as an installer (NSIS) that installs for the
# current user, without elevation: Start-menu entry, uninstaller, Apps & Features entry.
install(TARGETS ZentraQuota RUNTIME DESTINATION .)

# CPack's installer template installs for all users and asks for elevation; the same
# template, switched to the current user, comes first on the module path.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
# The installer keeps no file times of its own (the build's), so that it reproduces.
string(REPLACE "RequestExecutionLevel admin" "RequestExecutionLevel user\nSetDateSave off" template "${template}")
string(REPLACE "SetShellVarContext all" "SetShellVarContext current" template "${template}")
file(WRITE ${PROJECT_BINARY_DIR}/packaging/NSIS.template.in "${template}")
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_BINARY_DIR}/packaging)

set(CPACK_PACKAGE_NAME zentra-quota)
set(CPACK_PACKAGE_VERSION 1.00)
set(CPACK_PACKAGE_VENDOR "Zentra Quota")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Check how much of your Zentra internet quota is used")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Zentra Quota")
set(CPACK_PACKAGE_EXECUTABLES ZentraQuota "Zentra Quota")
set(CPACK_NSIS_PACKAGE_NAME "Zentra Quota")
set(CPACK_NSIS_DISPLAY_NAME "Zentra Quota")
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_INSTALLED_ICON_NAME ZentraQuota.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/app/windows/ZentraQuota.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/app/windows/ZentraQuota.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# A 64-bit installer for a 64-bit program (the default stub is 32-bit).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_GENERATOR "ZIP;NSIS")
include(CPack)
