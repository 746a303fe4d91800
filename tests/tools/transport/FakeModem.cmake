# The fake ModemManager that the transport's tests and benchmarks talk to on a
# private bus; included by whichever of them is built first.
if(NOT TARGET quillmo-fake-modem)
  pkg_check_modules(LIBSYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
  pkg_check_modules(MODEMMANAGER REQUIRED ModemManager)
  add_executable(quillmo-fake-modem ${CMAKE_CURRENT_LIST_DIR}/fake_modem_main.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/FakeModemManager.cpp)
  target_include_directories(quillmo-fake-modem PRIVATE ${MODEMMANAGER_INCLUDE_DIRS})
  target_link_libraries(quillmo-fake-modem PRIVATE PkgConfig::LIBSYSTEMD)
  set_target_properties(quillmo-fake-modem PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endif()
