# libical, the iCalendar parser behind the .ics calendar store and
# vantrel-list's import and export. Natively it is Debian's libical-dev;
# the Win32 build links a static libical cross-built by scripts/setup.
add_library(vantrel_libical INTERFACE)
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
  target_link_libraries(vantrel_libical INTERFACE PkgConfig::LIBICAL)
endif()
