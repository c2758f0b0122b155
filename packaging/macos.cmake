# The macOS application bundle: Quillbank.app with its Info.plist, icon and
# help guide in Resources, made self-contained with macdeployqt on install.
# It cannot be built on Linux; `cmake --preset release` on macOS with
# Homebrew's Qt does.
if(NOT APPLE OR NOT TARGET quillbank)
    return()
endif()

set_target_properties(quillbank PROPERTIES
    OUTPUT_NAME Quillbank
    MACOSX_BUNDLE TRUE
    MACOSX_BUNDLE_INFO_PLIST ${CMAKE_CURRENT_SOURCE_DIR}/macos/Info.plist.in
    MACOSX_BUNDLE_GUI_IDENTIFIER ${QUILLBANK_APP_ID}
    MACOSX_BUNDLE_BUNDLE_NAME Quillbank
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
    MACOSX_BUNDLE_ICON_FILE quillbank.icns
    MACOSX_BUNDLE_COPYRIGHT "GPL-3.0-or-later")

# The icon: an iconset of the committed PNGs, packed by iconutil.
set(iconset ${CMAKE_CURRENT_BINARY_DIR}/quillbank.iconset)
set(icns ${CMAKE_CURRENT_BINARY_DIR}/quillbank.icns)
set(iconset_copies)
foreach(pair 16:16x16 32:16x16@2x 32:32x32 64:32x32@2x 128:128x128 256:128x128@2x 256:256x256)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 size)
    list(GET pair 1 name)
    list(APPEND iconset_copies COMMAND ${CMAKE_COMMAND} -E copy
        ${CMAKE_CURRENT_SOURCE_DIR}/icons/quillbank-${size}.png ${iconset}/icon_${name}.png)
endforeach()
add_custom_command(OUTPUT ${icns}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${iconset}
    ${iconset_copies}
    COMMAND iconutil -c icns -o ${icns} ${iconset}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/icons/quillbank-256.png
    VERBATIM)
# The command's rule lives in this folder; the app's target is in another.
add_custom_target(quillbank_icns DEPENDS ${icns})
add_dependencies(quillbank quillbank_icns)

# The help guide the Help menu opens; resources/ renders it at build time
# for quillbank_resources, which the app links.
set(help_pdf ${PROJECT_BINARY_DIR}/resources/QuillbankHelp.pdf)
target_sources(quillbank PRIVATE ${icns} ${help_pdf})
set_source_files_properties(${icns} ${help_pdf} TARGET_DIRECTORY quillbank
    PROPERTIES MACOSX_PACKAGE_LOCATION Resources GENERATED TRUE)

install(TARGETS quillbank BUNDLE DESTINATION . COMPONENT gui)

# Copies the Qt frameworks and plug-ins into the installed bundle.
get_target_property(qmake Qt6::qmake IMPORTED_LOCATION)
get_filename_component(qt_bin ${qmake} DIRECTORY)
find_program(MACDEPLOYQT macdeployqt HINTS ${qt_bin} REQUIRED)
install(CODE "execute_process(COMMAND \"${MACDEPLOYQT}\"
    \"\${CMAKE_INSTALL_PREFIX}/Quillbank.app\" -always-overwrite
    COMMAND_ERROR_IS_FATAL ANY)" COMPONENT gui)
