# Stages the install for the tests: `cmake --install BUILD --prefix PREFIX`
# into the folder ROOT (as DESTDIR), replacing what an earlier run staged.
# With CLEAN set it only removes ROOT.
#   cmake -DBUILD=... -DROOT=... -DPREFIX=... [-DCLEAN=1] -P stage.cmake
if(EXISTS ${ROOT})
  # An earlier run may have left the tree read-only.
  execute_process(COMMAND chmod -R u+w ${ROOT})
  file(REMOVE_RECURSE ${ROOT})
endif()
if(CLEAN)
  return()
endif()
set(ENV{DESTDIR} ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD} --prefix ${PREFIX} into ${ROOT} failed: ${status}")
endif()
