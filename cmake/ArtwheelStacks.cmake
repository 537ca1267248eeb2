# The two Direct3D 11 stacks the Wine tests run on, each in an environment of
# its own (scripts/wine-run.sh, ARTWHEEL_D3D): Wine's own Direct3D, label
# "wined3d", and DXVK over Vulkan as Proton runs games, label "dxvk".
# Every test of a target runs on Wine's own; the suites that draw or present
# (GoogleTest suites named Overlay... or Package..., also behind a parameter
# prefix) run a second time on DXVK, named PREFIX.dxvk.Suite.Test. Each stack
# has its own desktop (tests/desktop_resources.json), so the two run side by side.
include(GoogleTest)

set(ARTWHEEL_D3D_SUITES "Overlay*:Package*:*/Overlay*:*/Package*")

# artwheel_discover_wine_tests(TARGET PREFIX [DISCOVERY args...] [PROPERTIES props...])
function(artwheel_discover_wine_tests target prefix)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "DISCOVERY;PROPERTIES")
  gtest_discover_tests(${target} TEST_PREFIX "${prefix}." ${arg_DISCOVERY}
    PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS desktop:1 LABELS wined3d
               ${arg_PROPERTIES})
  gtest_discover_tests(${target} TEST_PREFIX "${prefix}.dxvk." TEST_FILTER ${ARTWHEEL_D3D_SUITES}
    ${arg_DISCOVERY}
    PROPERTIES FIXTURES_REQUIRED wine_dxvk RESOURCE_GROUPS dxvk_desktop:1 LABELS dxvk
               ENVIRONMENT ARTWHEEL_D3D=dxvk ${arg_PROPERTIES})
endfunction()

# artwheel_add_d3d_test(PREFIX NAME [FIXTURES f...] [PROPERTIES p...] COMMAND c...)
# A program whose every test draws or presents, as one ctest entry per stack:
# PREFIX.NAME on Wine's own and PREFIX.dxvk.NAME on DXVK, each needing its
# stack's environment and FIXTURES.
function(artwheel_add_d3d_test prefix name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FIXTURES;PROPERTIES;COMMAND")
  add_test(NAME ${prefix}.${name} COMMAND ${arg_COMMAND})
  set_tests_properties(${prefix}.${name} PROPERTIES FIXTURES_REQUIRED "wine;${arg_FIXTURES}"
    RESOURCE_GROUPS desktop:1 LABELS wined3d ${arg_PROPERTIES})
  add_test(NAME ${prefix}.dxvk.${name} COMMAND ${arg_COMMAND})
  set_tests_properties(${prefix}.dxvk.${name} PROPERTIES FIXTURES_REQUIRED "wine_dxvk;${arg_FIXTURES}"
    RESOURCE_GROUPS dxvk_desktop:1 LABELS dxvk ENVIRONMENT ARTWHEEL_D3D=dxvk ${arg_PROPERTIES})
endfunction()
