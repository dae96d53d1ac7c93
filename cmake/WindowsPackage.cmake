# The Windows packages: a zip and an installer built with NSIS, both holding
# bin\tembrel.exe, bin\tembrel-sim.exe, README.txt and the licence,
# COPYING.txt. The installer shows the licence, installs for the current user
# only, into %LOCALAPPDATA%\Programs\Tembrel, without administrator rights,
# with a Start-menu entry that starts Tembrel in Documents\Tembrel, and an
# uninstaller; its last page offers to run Tembrel.
#   scripts/build-windows.sh --target package

# Text files as Windows reads them: CR LF line ends (NSIS's licence page takes
# nothing else, and older Notepads show LF-only text as one line) and, for a
# text in UTF-8 beyond ASCII, a byte order mark (else Windows reads it in the
# ANSI code page). Written again whenever the source changes.
#   tembrel_windows_text(SOURCE TARGET [UTF8])
function(tembrel_windows_text source target)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    if(ARGV2 STREQUAL "UTF8")
        string(ASCII 239 187 191 byte_order_mark)
        set(text "${byte_order_mark}${text}")
    endif()
    file(WRITE ${target} "${text}")
endfunction()
set(TEMBREL_WINDOWS_TEXT_DIR ${CMAKE_BINARY_DIR}/windows-text)
tembrel_windows_text(${PROJECT_SOURCE_DIR}/README.md ${TEMBREL_WINDOWS_TEXT_DIR}/README.txt UTF8)
tembrel_windows_text(${PROJECT_SOURCE_DIR}/COPYING ${TEMBREL_WINDOWS_TEXT_DIR}/COPYING.txt)
install(FILES ${TEMBREL_WINDOWS_TEXT_DIR}/README.txt ${TEMBREL_WINDOWS_TEXT_DIR}/COPYING.txt
        DESTINATION .)
set(CPACK_RESOURCE_FILE_LICENSE ${TEMBREL_WINDOWS_TEXT_DIR}/COPYING.txt)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGING_INSTALL_PREFIX "")
set(CPACK_PACKAGE_FILE_NAME tembrel-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tembrel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tembrel-Installer)
set(CPACK_NSIS_PACKAGE_NAME Tembrel)
set(CPACK_NSIS_DISPLAY_NAME "Tembrel ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/windows/tembrel.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/windows/tembrel.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\tembrel.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN tembrel.exe)

# CPack writes its variables into its configuration file as they stand and
# CMake's parser reads them back: NSIS commands carry their backslashes and
# quotes escaped.
function(tembrel_nsis_commands variable)
    list(JOIN ARGN "\n" commands)
    string(REPLACE "\\" "\\\\" commands "${commands}")
    string(REPLACE "\"" "\\\"" commands "${commands}")
    set(${variable} "${commands}" PARENT_SCOPE)
endfunction()
# Tembrel writes its view file, its lock and its links into the folder it is
# started in. The Start-menu entry starts it in a folder of the user's own,
# Documents\Tembrel (a shortcut's working folder is the installer's output
# folder when it is made), not among the program's files; "Run Tembrel" on the
# last page starts it there too. The uninstaller leaves that folder and its
# files alone: they are the user's.
set(TEMBREL_NSIS_USER_FOLDER "$DOCUMENTS\\Tembrel")
tembrel_nsis_commands(CPACK_NSIS_CREATE_ICONS_EXTRA
    "  CreateDirectory \"${TEMBREL_NSIS_USER_FOLDER}\""
    "  SetOutPath \"${TEMBREL_NSIS_USER_FOLDER}\""
    "  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\Tembrel.lnk\" \"$INSTDIR\\bin\\tembrel.exe\""
    "  SetOutPath \"$INSTDIR\"")
tembrel_nsis_commands(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
    "  CreateDirectory \"${TEMBREL_NSIS_USER_FOLDER}\""
    "  SetOutPath \"${TEMBREL_NSIS_USER_FOLDER}\"")
tembrel_nsis_commands(CPACK_NSIS_DELETE_ICONS_EXTRA
    "  Delete \"$SMPROGRAMS\\$MUI_TEMP\\Tembrel.lnk\"")
# Earlier versions' Start-menu entry started Tembrel in the installation
# folder: its view file and lock there are taken away with the program, so the
# folder goes too unless the user kept files of their own in it. The settings
# under HKEY_CURRENT_USER\\Software\\Tembrel stay.
tembrel_nsis_commands(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
    "  Delete \"$INSTDIR\\TembrelData.KML\""
    "  Delete \"$INSTDIR\\TembrelData.KML.lock\"")

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
