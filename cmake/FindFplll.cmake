# Finds libfplll (Debian's libfplll-dev) and the GMP and MPFR libraries it
# is built on. Defines Fplll_FOUND and the imported target Fplll::fplll.
find_path(Fplll_INCLUDE_DIR fplll/fplll.h)
find_library(Fplll_LIBRARY fplll)
find_library(Fplll_GMP_LIBRARY gmp)
find_library(Fplll_MPFR_LIBRARY mpfr)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Fplll REQUIRED_VARS Fplll_LIBRARY Fplll_INCLUDE_DIR Fplll_GMP_LIBRARY
                                  Fplll_MPFR_LIBRARY)
if(Fplll_FOUND AND NOT TARGET Fplll::fplll)
  find_package(Threads REQUIRED)
  add_library(Fplll::fplll UNKNOWN IMPORTED)
  set_target_properties(Fplll::fplll PROPERTIES IMPORTED_LOCATION ${Fplll_LIBRARY}
                        INTERFACE_INCLUDE_DIRECTORIES ${Fplll_INCLUDE_DIR})
  target_link_libraries(Fplll::fplll INTERFACE ${Fplll_MPFR_LIBRARY} ${Fplll_GMP_LIBRARY} Threads::Threads)
endif()
mark_as_advanced(Fplll_INCLUDE_DIR Fplll_LIBRARY Fplll_GMP_LIBRARY Fplll_MPFR_LIBRARY)
