# wxWidgets as two targets: zentra_wx_core (base and core) and zentra_wx (with its web view,
# which the Windows browser and the benchmarks' baselines use).
add_library(zentra_wx_core INTERFACE)
add_library(zentra_wx INTERFACE)

# zq_wx_target(<target> <components>...)
function(zq_wx_target target)
  # A wxWidgets built with CMake (Windows, vcpkg) ships a config package; Debian's does not.
  find_package(wxWidgets 3.2 CONFIG QUIET COMPONENTS ${ARGN})
  if(wxWidgets_FOUND AND TARGET wx::core)
    list(TRANSFORM ARGN PREPEND wx:: OUTPUT_VARIABLE imported)
    target_link_libraries(${target} INTERFACE ${imported})
  else()
    find_package(wxWidgets 3.2 REQUIRED COMPONENTS ${ARGN})
    target_include_directories(${target} SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
    target_compile_definitions(${target} INTERFACE ${wxWidgets_DEFINITIONS})
    target_compile_options(${target} INTERFACE ${wxWidgets_CXX_FLAGS})
    target_link_libraries(${target} INTERFACE ${wxWidgets_LIBRARIES})
  endif()
endfunction()
zq_wx_target(zentra_wx_core core base)
zq_wx_target(zentra_wx webview core base)

# On GTK the window reaches into GTK, and the browser is WebKitGTK itself.
find_package(PkgConfig)
if(UNIX AND NOT APPLE)
  pkg_check_modules(GTK REQUIRED IMPORTED_TARGET gtk+-3.0)
  # The 4.1 API (libsoup 3) where the system has it, as every current release does; Debian 12
  # and its like have 4.0, which is the same API on libsoup 2.
  foreach(api 4.1 4.0)
    pkg_check_modules(WEBKITGTK QUIET IMPORTED_TARGET webkit2gtk-${api})
    if(WEBKITGTK_FOUND)
      set(ZENTRA_WEBKIT_MODULE webkit2gtk-${api})
      break()
    endif()
  endforeach()
  if(NOT WEBKITGTK_FOUND)
    message(FATAL_ERROR "The web engine's development files are missing: install libwebkit2gtk-4.1-dev "
                        "(Debian 13, Ubuntu 24.04 and later; webkit2gtk4.1-devel on Fedora), or libwebkit2gtk-4.0-dev on Debian 12.")
  endif()
  message(STATUS "Web engine: ${ZENTRA_WEBKIT_MODULE} ${WEBKITGTK_VERSION}")
  target_link_libraries(zentra_wx_core INTERFACE PkgConfig::GTK)
endif()
