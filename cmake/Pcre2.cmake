# PCRE2 (8-bit library): Debian's libpcre2-dev natively; for MinGW the copy
# that tools/setup.sh builds from Debian's pcre2 source package into .deps/.
add_library(vellumio_pcre2 INTERFACE)
target_compile_definitions(vellumio_pcre2 INTERFACE PCRE2_CODE_UNIT_WIDTH=8)

if(WIN32)
  set(_pcre2_prefix "${CMAKE_SOURCE_DIR}/.deps/${TRIPLET}")
  if(NOT EXISTS "${_pcre2_prefix}/lib/libpcre2-8.a")
    message(FATAL_ERROR "PCRE2 for ${TRIPLET} is missing; run tools/setup.sh")
  endif()
  target_include_directories(vellumio_pcre2 INTERFACE "${_pcre2_prefix}/include")
  target_link_libraries(vellumio_pcre2 INTERFACE "${_pcre2_prefix}/lib/libpcre2-8.a")
  target_compile_definitions(vellumio_pcre2 INTERFACE PCRE2_STATIC)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-8)
  target_link_libraries(vellumio_pcre2 INTERFACE PkgConfig::PCRE2)
endif()
