# The libFuzzer targets of fuzz/ are built in the Clang build with the
# sanitizers, when ZANTRO_BUILD_FUZZ is on and clang's libFuzzer runtime is
# installed (Debian: libclang-rt-14-dev). Sets ZANTRO_FUZZ, and
# ZANTRO_FUZZ_COVERAGE: the option that gives the engine's layers the
# coverage feedback a fuzzer follows.
set(ZANTRO_FUZZ OFF)
set(ZANTRO_FUZZ_COVERAGE -fsanitize=fuzzer-no-link)
if(NOT ZANTRO_BUILD_FUZZ)
  return()
endif()
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(STATUS "Fuzz targets: need clang (-DCMAKE_CXX_COMPILER=clang++), not built")
  return()
endif()
# clang without its runtime libraries cannot link a fuzzer. Probed on every
# configure, so installing the runtime later is noticed.
set(probe_dir ${CMAKE_BINARY_DIR}/fuzz-probe)
file(MAKE_DIRECTORY ${probe_dir})
file(WRITE ${probe_dir}/probe.cpp
     "#include <cstddef>\n#include <cstdint>\n"
     "extern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -fsanitize=fuzzer,address,undefined probe.cpp -o probe
                WORKING_DIRECTORY ${probe_dir} RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
if(NOT probe_result EQUAL 0)
  message(STATUS "Fuzz targets: ${CMAKE_CXX_COMPILER} cannot link libFuzzer (libclang-rt-14-dev missing?), not built")
  return()
endif()
message(STATUS "Fuzz targets: built; each replays its corpus as a test")
set(ZANTRO_FUZZ ON)
