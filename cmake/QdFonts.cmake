# A private fontconfig configuration that sees only the DejaVu faces of
# fonts-dejavu-core. Every test runs with it (qd_add_tests), and so does the skin
# generator at build time, so their pixels are the same on every machine.
find_path(QD_DEJAVU_DIR DejaVuSansMono.ttf
  PATHS /usr/share/fonts/truetype/dejavu /usr/share/fonts/dejavu /usr/share/fonts/TTF
  NO_DEFAULT_PATH)
if(NOT QD_DEJAVU_DIR)
  message(FATAL_ERROR "The DejaVu fonts are missing: install fonts-dejavu-core (tools/setup.sh does).")
endif()
set(QD_FONT_CACHE_DIR ${CMAKE_BINARY_DIR}/fonts/cache)
set(QD_FONTCONFIG_FILE ${CMAKE_BINARY_DIR}/fonts/fonts.conf)
configure_file(${CMAKE_CURRENT_LIST_DIR}/pinned_fonts.conf.in ${QD_FONTCONFIG_FILE} @ONLY)
