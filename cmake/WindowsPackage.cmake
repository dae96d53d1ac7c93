# The Windows packages: a zip and an installer built with NSIS, both holding
# bin\tembrel.exe, bin\tembrel-sim.exe and the README. The installer installs
# for the current user only, into %LOCALAPPDATA%\Programs\Tembrel, without
# administrator rights, with a Start-menu entry and an uninstaller.
#   scripts/build-windows.sh --target package
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGING_INSTALL_PREFIX "")
set(CPACK_PACKAGE_FILE_NAME tembrel-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tembrel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tembrel-Installer)
set(CPACK_PACKAGE_EXECUTABLES tembrel Tembrel)
set(CPACK_NSIS_PACKAGE_NAME Tembrel)
set(CPACK_NSIS_DISPLAY_NAME "Tembrel ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/windows/tembrel.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/windows/tembrel.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\tembrel.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start-menu entry starts the program in the installation folder, where it
# writes the view file; the uninstaller takes that file away too. The settings
# under HKEY_CURRENT_USER\\Software\\Tembrel stay.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Delete \\\"$INSTDIR\\\\TembrelData.KML\\\"")

# CMake's own NSIS template installs for all users and asks for administrator
# rights; this copy of it installs for the current user.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
string(REPLACE "RequestExecutionLevel admin" "RequestExecutionLevel user" template "${template}")
string(REPLACE "SetShellVarContext all" "SetShellVarContext current" template "${template}")
string(REPLACE "StrCpy $SV_ALLUSERS \"AllUsers\"" "StrCpy $SV_ALLUSERS \"JustMe\"" template
       "${template}")
string(REPLACE "HKLM \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
       "HKCU \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" template "${template}")
string(REPLACE "$DOCUMENTS\\@CPACK_PACKAGE_INSTALL_DIRECTORY@"
       "@CPACK_NSIS_INSTALL_ROOT@\\@CPACK_PACKAGE_INSTALL_DIRECTORY@" template "${template}")
foreach(needed "RequestExecutionLevel user" "SetShellVarContext current")
    string(FIND "${template}" "${needed}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "CMake's NSIS template has changed: no \"${needed}\" after patching")
    endif()
endforeach()
# A 64-bit installer, like the program (Debian's NSIS has the amd64 stubs; Wine
# without its 32-bit half runs no 32-bit installer).
# After the first line, which starts with the byte order mark.
string(FIND "${template}" "\n" first_line_end)
math(EXPR first_line_end "${first_line_end} + 1")
string(SUBSTRING "${template}" 0 ${first_line_end} first_line)
string(SUBSTRING "${template}" ${first_line_end} -1 rest)
set(template "${first_line}Target amd64-unicode\n${rest}")
set(TEMBREL_NSIS_TEMPLATE_DIR ${CMAKE_BINARY_DIR}/nsis-template)
file(WRITE ${TEMBREL_NSIS_TEMPLATE_DIR}/NSIS.template.in "${template}")
set(CPACK_MODULE_PATH ${TEMBREL_NSIS_TEMPLATE_DIR})
