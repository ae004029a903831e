# Builds the libFuzzer targets of fuzz/ with clang when clang and its
# libFuzzer runtime are installed (Debian: clang, libclang-rt-14-dev), and
# registers a test that runs each for ZANTRO_FUZZ_SECONDS on its corpus.
set(ZANTRO_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs as a test")

find_program(ZANTRO_FUZZ_CXX NAMES clang++ clang++-14)
if(NOT ZANTRO_FUZZ_CXX)
  message(STATUS "Fuzz targets: clang++ not found, not built")
  return()
endif()
# clang without its runtime libraries cannot link a fuzzer.
set(probe_dir ${CMAKE_BINARY_DIR}/fuzz-probe)
file(MAKE_DIRECTORY ${probe_dir})
file(WRITE ${probe_dir}/probe.cpp
     "#include <cstddef>\n#include <cstdint>\n"
     "extern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
execute_process(COMMAND ${ZANTRO_FUZZ_CXX} -fsanitize=fuzzer,address,undefined probe.cpp -o probe
                WORKING_DIRECTORY ${probe_dir} RESULT_VARIABLE probe_result OUTPUT_QUIET ERROR_QUIET)
if(NOT probe_result EQUAL 0)
  message(STATUS "Fuzz targets: ${ZANTRO_FUZZ_CXX} cannot link libFuzzer (libclang-rt-14-dev missing?), not built")
  return()
endif()
message(STATUS "Fuzz targets: built with ${ZANTRO_FUZZ_CXX}, ${ZANTRO_FUZZ_SECONDS} s each as a test")

include(ExternalProject)
set(fuzz_build ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(zantro_fuzz
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/fuzz
  BINARY_DIR ${fuzz_build}
  CMAKE_ARGS -DCMAKE_CXX_COMPILER=${ZANTRO_FUZZ_CXX}
             -DCMAKE_BUILD_TYPE=RelWithDebInfo
             -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")

foreach(target FirReaderFuzzer InputFileFuzzer BandDialogFuzzer)
  add_test(NAME fuzz_${target}
           COMMAND ${CMAKE_COMMAND} -DFUZZER=${fuzz_build}/${target}
                   -DCORPUS=${PROJECT_SOURCE_DIR}/fuzz/corpus/${target}
                   -DWORK=${fuzz_build}/work/${target}
                   -DSECONDS=${ZANTRO_FUZZ_SECONDS}
                   -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzzer.cmake)
  math(EXPR limit "${ZANTRO_FUZZ_SECONDS} * 2 + 120")
  set_tests_properties(fuzz_${target} PROPERTIES TIMEOUT ${limit})
endforeach()
