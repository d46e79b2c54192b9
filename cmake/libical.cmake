# libical, the iCalendar parser behind the .ics calendar store and
# vantrel-list's import and export. Natively it is Debian's libical-dev;
# the Win32 build links a static libical of the same version, cross-built
# by scripts/deps-libical-mingw (scripts/setup runs it).
add_library(vantrel_libical INTERFACE)
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
  target_link_libraries(vantrel_libical INTERFACE PkgConfig::LIBICAL)
else()
  set(VANTREL_LIBICAL_MINGW ${CMAKE_SOURCE_DIR}/build/deps/libical-mingw
      CACHE PATH "Prefix of the static libical cross-built for mingw-w64")
  set(libical_archive ${VANTREL_LIBICAL_MINGW}/lib/libical.a)
  if(NOT EXISTS ${libical_archive} OR NOT EXISTS ${VANTREL_LIBICAL_MINGW}/include/libical/ical.h)
    message(FATAL_ERROR "No libical for mingw-w64 in ${VANTREL_LIBICAL_MINGW}: "
                        "run scripts/deps-libical-mingw (scripts/setup runs it).")
  endif()
  # An imported target: its headers are system headers to every user, so
  # neither -Werror nor clang-tidy look into them.
  add_library(vantrel_libical_mingw STATIC IMPORTED)
  set_target_properties(vantrel_libical_mingw PROPERTIES
    IMPORTED_LOCATION ${libical_archive}
    INTERFACE_INCLUDE_DIRECTORIES ${VANTREL_LIBICAL_MINGW}/include
    # Without it the headers declare the API dllimport.
    INTERFACE_COMPILE_DEFINITIONS LIBICAL_ICAL_STATIC_DEFINE
    # Its time zone cache locks with winpthreads.
    INTERFACE_LINK_LIBRARIES pthread)
  target_link_libraries(vantrel_libical INTERFACE vantrel_libical_mingw)
endif()
