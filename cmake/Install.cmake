# What `cmake --install BUILD [--prefix PREFIX]` puts under the prefix (with
# DESTDIR in front of it when set):
#
#   QUILLMO_INSTALL_PROGRAM_DIR (lib/quillmo)   the program folder, as the build
#       makes it in bin/: the programs, the language files, help/, smiles/ and
#       skins/bin/. Nothing the programs write lives there, so it may be
#       read-only. The language files, help pages, skins and smileys are
#       installed where the build makes them (lang/, assets/).
#   bin/quillmo, bin/quillmo-device, bin/quillmo-transport
#       relative links into the program folder. A program finds its folder
#       through /proc/self/exe, which names the link's target, not the link.
#   share/applications/, share/metainfo/, share/icons/hicolor/
#       the desktop entry (the handler of sms: links), the AppStream
#       description and the icon, all named after the application id.
#   QUILLMO_INSTALL_SYSTEMD_USER_DIR (lib/systemd/user)
#       quillmo-transport.service, the messaging service as a user unit.
#
# Build-only programs (skinc, quillmo-bench) and the tests are not installed.

set(QUILLMO_APP_ID org.quillmo.Quillmo)
set(QUILLMO_INSTALL_SYSTEMD_USER_DIR lib/systemd/user CACHE STRING
    "Where the user unit of the messaging service is installed, relative to the prefix")

# The transport is built by tools/transport when it is part of the tree.
set(QUILLMO_INSTALLED_PROGRAMS quillmo quillmo-device)
if(TARGET quillmo-transport)
  list(APPEND QUILLMO_INSTALLED_PROGRAMS quillmo-transport)
endif()
install(TARGETS ${QUILLMO_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${QUILLMO_INSTALL_PROGRAM_DIR})

# The links are made once here and installed as links. Both folders are
# normally relative to the prefix, so a link relative to bin/ holds for any
# prefix given at install time.
if(IS_ABSOLUTE ${QUILLMO_INSTALL_PROGRAM_DIR})
  set(link_base ${QUILLMO_INSTALL_PROGRAM_DIR})
else()
  cmake_path(RELATIVE_PATH CMAKE_INSTALL_PREFIX BASE_DIRECTORY ${CMAKE_INSTALL_FULL_BINDIR}
             OUTPUT_VARIABLE prefix_from_bin)
  cmake_path(APPEND prefix_from_bin ${QUILLMO_INSTALL_PROGRAM_DIR} OUTPUT_VARIABLE link_base)
endif()
set(link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${link_dir})
foreach(program ${QUILLMO_INSTALLED_PROGRAMS})
  file(CREATE_LINK ${link_base}/${program} ${link_dir}/${program} SYMBOLIC)
  install(FILES ${link_dir}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# Desktop integration: the id names the desktop entry, the AppStream file and
# the icon alike.
set(desktop ${CMAKE_SOURCE_DIR}/assets/desktop)
install(FILES ${desktop}/${QUILLMO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/${QUILLMO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${desktop}/icons/${QUILLMO_APP_ID}.svg DESTINATION ${icons}/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${desktop}/icons/${QUILLMO_APP_ID}-${size}.png
          DESTINATION ${icons}/${size}x${size}/apps RENAME ${QUILLMO_APP_ID}.png)
endforeach()

# The unit names the installed program by its full path, which is known only
# when installing (--prefix may differ from the configured prefix), so it is
# written then. DESTDIR is a staging folder and stays out of the path.
if(TARGET quillmo-transport)
  if(IS_ABSOLUTE ${CMAKE_INSTALL_BINDIR})
    set(transport_executable ${CMAKE_INSTALL_BINDIR}/quillmo-transport)
  else()
    set(transport_executable "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillmo-transport")
  endif()
  set(unit ${CMAKE_BINARY_DIR}/install-units/quillmo-transport.service)
  install(CODE "
    set(QUILLMO_TRANSPORT_EXECUTABLE \"${transport_executable}\")
    configure_file(\"${CMAKE_SOURCE_DIR}/assets/systemd/quillmo-transport.service.in\" \"${unit}\" @ONLY)
  ")
  install(FILES ${unit} DESTINATION ${QUILLMO_INSTALL_SYSTEMD_USER_DIR})
endif()
