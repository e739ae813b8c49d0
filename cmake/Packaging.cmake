# Installation and packages: on Windows a portable zip and an installer, elsewhere the GNU
# layout and a Debian package.
# Folders made by the installation (and so in the packages) get the usual modes whatever
# the builder's umask; files get theirs from install() itself.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The packages' time stamps: SOURCE_DATE_EPOCH where the builder sets it, else the last
# commit's time, so that a plain build of a checkout reproduces too.
configure_file(cmake/ReproduciblePackage.cmake.in ${PROJECT_BINARY_DIR}/ReproduciblePackage.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/ReproduciblePackage.cmake)
if(WIN32)
  include(cmake/WindowsPackaging.cmake)
  return()
endif()

set(ZENTRA_APP_ID example.zentraquota.ZentraQuota)
install(TARGETS ZentraQuota RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zentra_browser)
  install(TARGETS zentra_browser LIBRARY DESTINATION ${ZENTRA_MODULE_DIR})
endif()
install(FILES packaging/${ZENTRA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${ZENTRA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 128)
  install(FILES app/icons/zentra-quota-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${ZENTRA_APP_ID}.png)
endforeach()
install(FILES app/icons/zentra-quota.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ZENTRA_APP_ID}.svg)

# What Debian asks of every package: the copyright, the changelog and a manual page, the
# last two compressed the way its tools do (-n: no time stamp, so the bytes do not change).
set(debian_out ${PROJECT_BINARY_DIR}/debian)
add_custom_command(OUTPUT ${debian_out}/changelog.gz ${debian_out}/ZentraQuota.1.gz
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${debian_out}
                   COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
                           ${PROJECT_SOURCE_DIR}/packaging/debian/ZentraQuota.1 ${debian_out}/
                   COMMAND gzip -9nf ${debian_out}/changelog ${debian_out}/ZentraQuota.1
                   DEPENDS packaging/debian/changelog packaging/debian/ZentraQuota.1 VERBATIM)
add_custom_target(debian_docs ALL DEPENDS ${debian_out}/changelog.gz ${debian_out}/ZentraQuota.1.gz)
install(FILES packaging/debian/copyright ${debian_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zentra-quota)
install(FILES ${debian_out}/ZentraQuota.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME zentra-quota)
set(CPACK_PACKAGE_VERSION 1.00)
# A package depends on its release's libraries, whose names differ from release to release
# (Debian 13 renamed many), so its version names the release it was built on: 1.00+deb12,
# 1.00+deb13, 1.00+ubuntu24.04; later releases sort higher, so an upgrade takes the new one.
set(release_suffix "")
if(EXISTS /etc/os-release)
  file(STRINGS /etc/os-release os_release REGEX "^(ID|VERSION_ID)=")
  foreach(line IN LISTS os_release)
    if(line MATCHES "^([A-Z_]+)=\"?([^\"]*)\"?$")
      set(os_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
    endif()
  endforeach()
  if(os_ID STREQUAL "debian" AND os_VERSION_ID MATCHES "^[0-9]+")
    set(release_suffix "+deb${CMAKE_MATCH_0}")
  elseif(os_ID MATCHES "^[a-z0-9]+$" AND os_VERSION_ID MATCHES "^[0-9.]+$")
    set(release_suffix "+${os_ID}${os_VERSION_ID}")
  endif()
endif()
set(CPACK_DEBIAN_PACKAGE_VERSION ${CPACK_PACKAGE_VERSION}${release_suffix})
set(CPACK_PACKAGE_VENDOR "Zentra Quota")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Check how much of your Zentra internet quota is used")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows the usage page of the Zentra internet service for a subscriber number,\nremembers the number and checks it again at every start.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zentra Quota <packages@zentraquota.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries come from the binary; the number box's font and the web engine's sandbox
# are not linked, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bubblewrap")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianMemberModes.cmake)
include(CPack)
