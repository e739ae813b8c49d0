# The Windows build's tests, run under Wine on this machine: the logic tests, the real
# program on a virtual display, and the installer.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

add_executable(logic_tests NumberTextTest.cpp SettingFileTest.cpp CheckWorkflowTest.cpp)
target_link_libraries(logic_tests PRIVATE zentra_logic gmock gtest gtest_main)
target_link_options(logic_tests PRIVATE -static)
# One Wine process for the whole binary: discovering tests one by one would start one each.
add_test(NAME windows.LogicTests COMMAND logic_tests)

find_program(XVFB_RUN xvfb-run)
if(XVFB_RUN)
  set(port 47093)
  zq_add_program(ZentraQuotaLoopback "127.0.0.1:${port}")
  add_test(NAME windows.Program
           COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset"
                   ${CMAKE_CURRENT_SOURCE_DIR}/windows/program_test.sh $<TARGET_FILE:ZentraQuotaLoopback> ${port})
  add_test(NAME windows.Installer
           COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset"
                   ${CMAKE_CURRENT_SOURCE_DIR}/windows/installer_test.sh ${PROJECT_BINARY_DIR}/zentra-quota-1.00-win64.exe)
  # A screen tall enough for the window at 192 DPI.
  add_test(NAME windows.LookAtEachDpiAndTextSize
           COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset"
                   ${CMAKE_CURRENT_SOURCE_DIR}/windows/look_test.sh $<TARGET_FILE:ZentraQuota>)
  set_tests_properties(windows.Program windows.Installer windows.LookAtEachDpiAndTextSize PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
set_tests_properties(windows.LogicTests PROPERTIES ENVIRONMENT "WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=" TIMEOUT 300)
# A moved checkout's cache is taken as it is and pointed at its new folder.
add_test(NAME windows.MovedCache COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/moved_cache_test.sh ${ZENTRA_WINDOWS_PREFIX})
set_tests_properties(windows.MovedCache PROPERTIES TIMEOUT 300)
