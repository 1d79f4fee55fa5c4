# SPDX-License-Identifier: MIT
# Everything a desktop expects of an installed application, and the Debian
# package made from it. The one version number is the project's.
set(TALMO_APP_ID "example.kalvesta.Talmo")
set(desktop_dir "${PROJECT_SOURCE_DIR}/resources/desktop")

install(FILES "${desktop_dir}/${TALMO_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
configure_file("${desktop_dir}/${TALMO_APP_ID}.metainfo.xml.in"
    "${PROJECT_BINARY_DIR}/${TALMO_APP_ID}.metainfo.xml" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/${TALMO_APP_ID}.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

set(pictures "${PROJECT_SOURCE_DIR}/resources/pictures")
install(FILES "${pictures}/talmo.svg" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
    RENAME "${TALMO_APP_ID}.svg")
foreach(size 16 24 32 48 64 128 256)
    install(FILES "${pictures}/talmo-${size}.png"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
        RENAME "${TALMO_APP_ID}.png")
endforeach()

# Manual pages and the changelog, compressed as Debian wants them.
find_program(GZIP gzip REQUIRED)
set(compressed "")
function(talmo_compressed source name)
    configure_file("${source}" "${PROJECT_BINARY_DIR}/doc/${name}" @ONLY)
    add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/doc/${name}.gz"
        COMMAND "${GZIP}" -9nf -k "${PROJECT_BINARY_DIR}/doc/${name}"
        DEPENDS "${PROJECT_BINARY_DIR}/doc/${name}"
        COMMENT "Compressing ${name}")
    set(compressed ${compressed} "${PROJECT_BINARY_DIR}/doc/${name}.gz" PARENT_SCOPE)
endfunction()
talmo_compressed("${PROJECT_SOURCE_DIR}/resources/man/talmo.1" talmo.1)
talmo_compressed("${PROJECT_SOURCE_DIR}/resources/man/talmo-say.1" talmo-say.1)
talmo_compressed("${desktop_dir}/changelog.in" changelog)
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
install(FILES "${PROJECT_BINARY_DIR}/doc/talmo.1.gz" "${PROJECT_BINARY_DIR}/doc/talmo-say.1.gz"
    DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/talmo")
install(FILES "${desktop_dir}/copyright" "${PROJECT_BINARY_DIR}/doc/changelog.gz" DESTINATION "${doc_dir}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talmo)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Kalvesta Software")
set(CPACK_PACKAGE_CONTACT "Kalvesta Software <talmo@kalvesta.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tutor for hearing and reading Swedish numbers")
set(CPACK_PACKAGE_DESCRIPTION
    "Talmo teaches English-speaking learners the numbers of the Swedish language.
Type any whole number from 0 to 99999 and hear it spoken, take a scored
dictation quiz in a range you choose, and browse number words, fractions,
ordinals and math words, each with its written form and a recording of
Swedish speech.

The package also holds talmo-say, which speaks a number from the command
line or writes it as a WAVE file for listening material.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kalvesta.example/talmo")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows need a font; the sound server is the desktop's own. libpulse and
# SQLite are opened when first needed, so shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core | fonts-liberation, libpulse0, libsqlite3-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")
set(CPACK_STRIP_FILES ON)
include(CPack)
