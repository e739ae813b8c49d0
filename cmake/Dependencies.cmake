# wxWidgets with its web view, as one target: zentra_wx.
add_library(zentra_wx INTERFACE)

# A wxWidgets built with CMake (Windows, vcpkg) ships a config package; Debian's does not.
find_package(wxWidgets 3.2 CONFIG QUIET COMPONENTS webview core base)
if(wxWidgets_FOUND AND TARGET wx::webview)
  target_link_libraries(zentra_wx INTERFACE wx::webview wx::core wx::base)
else()
  find_package(wxWidgets 3.2 REQUIRED COMPONENTS webview core base)
  target_include_directories(zentra_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
  target_compile_definitions(zentra_wx INTERFACE ${wxWidgets_DEFINITIONS})
  target_compile_options(zentra_wx INTERFACE ${wxWidgets_CXX_FLAGS})
  target_link_libraries(zentra_wx INTERFACE ${wxWidgets_LIBRARIES})
endif()

# On GTK the browser is hardened through WebKitGTK itself.
find_package(PkgConfig)
if(UNIX AND NOT APPLE)
  pkg_check_modules(WEBKITGTK REQUIRED IMPORTED_TARGET webkit2gtk-4.0 gtk+-3.0)
  target_link_libraries(zentra_wx INTERFACE PkgConfig::WEBKITGTK)
endif()
