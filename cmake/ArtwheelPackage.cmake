# The release players download: dist/artwheel-<version>-win64.zip with the DLL,
# the starter configuration, the images, the player guide and the licence at
# its root. The texts are written with CR LF line ends: Notepad shows them, and
# the game's own rewrite of artwheel.ini keeps exactly that form. The zip holds
# no artwheel.ini: the DLL makes it from artwheel.starter.ini when it is
# missing, so a new release unpacked over an old one keeps the player's file.
# Every file has a name of its own, so removing artwheel removes no other mod's.
# Packing takes only what it ships, built beforehand (scripts/package.sh), not
# the whole tree with its tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(ARTWHEEL_PACKAGE_TEXT_DIR ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/package/artwheel.starter.ini
               ${ARTWHEEL_PACKAGE_TEXT_DIR}/artwheel.starter.ini @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/package/artwheel-README.txt
               ${ARTWHEEL_PACKAGE_TEXT_DIR}/artwheel-README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${ARTWHEEL_PACKAGE_TEXT_DIR}/artwheel-LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)

install(FILES ${ARTWHEEL_WINDOWS_DIR}/bin/dinput8.dll DESTINATION . COMPONENT release)
install(FILES ${ARTWHEEL_PACKAGE_TEXT_DIR}/artwheel.starter.ini
              ${ARTWHEEL_PACKAGE_TEXT_DIR}/artwheel-README.txt
              ${ARTWHEEL_PACKAGE_TEXT_DIR}/artwheel-LICENSE.txt
        DESTINATION . COMPONENT release)
install(DIRECTORY ${ARTWHEEL_RESOURCES_DIR}/ DESTINATION resources COMPONENT release
        FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME artwheel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME artwheel-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/dist)
include(CPack)

# The package test: the test run builds the zip into build/dist (a fixture),
# then a scenario unpacks it into a fresh game folder and plays it.
set(ARTWHEEL_TEST_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
add_test(NAME package.zip
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake -B ${ARTWHEEL_TEST_DIST_DIR})
set_tests_properties(package.zip PROPERTIES FIXTURES_SETUP package)

add_executable(e2e_package_tests ${PROJECT_SOURCE_DIR}/tests/e2e/package/package_test.cpp)
target_link_libraries(e2e_package_tests PRIVATE e2e_scenario)
target_compile_definitions(e2e_package_tests PRIVATE ${ARTWHEEL_E2E_DEFINITIONS}
  ARTWHEEL_PACKAGE_ZIP="${ARTWHEEL_TEST_DIST_DIR}/artwheel-${PROJECT_VERSION}-win64.zip"
  ARTWHEEL_PYTHON="${Python3_EXECUTABLE}")
artwheel_warnings(e2e_package_tests)
add_dependencies(e2e_package_tests artwheel_windows artwheel_resources)
# One ctest entry for the whole program on each Direct3D stack:
# gtest_discover_tests cannot hand a test two fixtures, and this one needs the
# Wine environment and the zip.
artwheel_add_d3d_test(e2e Package.TheUnpackedZipRunsWithItsStarterConfiguration FIXTURES package
  PROPERTIES TIMEOUT 180 COMMAND e2e_package_tests)
