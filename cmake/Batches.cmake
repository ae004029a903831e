# Compiles a target's sources in batches: each batch is one generated file
# that includes up to <size> of them, so the headers they share (gtest,
# CLI11, pybind11, Qt) are parsed once a batch instead of once a file.
#
# CMake's own unity builds include the sources by absolute path, which
# differs in every clone and so defeats the compiler cache across clones;
# these batches include them relative to the source tree (an include
# directory of every target), so a batch compiles the same in any clone.
#
# The sources stay in the target, marked as headers, so editors and the
# dependency scan still see them; a change to one recompiles its batch.
# Files of one batch share a translation unit: names at namespace scope,
# anonymous namespaces included, must differ between them.
#
# zantro_compile_in_batches(<target> <size> [ALONE <file>...]): the files
# after ALONE (names, or regular expressions, of files in the target's
# folder) compile on their own: files with compile options of their own,
# or whose file-local helpers repeat the names of another file's.
function(zantro_compile_in_batches target size)
  if(NOT ZANTRO_COMPILE_IN_BATCHES)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "ALONE")
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  foreach(alone IN LISTS arg_ALONE)
    list(FILTER sources EXCLUDE REGEX "(^|/)${alone}$")
  endforeach()
  list(SORT sources)
  list(LENGTH sources total)
  set(batch_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_batches)
  set(batches)
  set(content)
  set(count 0)
  set(index 0)
  foreach(source IN LISTS sources)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} OUTPUT_VARIABLE absolute)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${absolute})
    string(APPEND content "#include \"${relative}\"\n")
    set_source_files_properties(${source} TARGET_DIRECTORY ${target} PROPERTIES HEADER_FILE_ONLY ON)
    math(EXPR count "${count} + 1")
    math(EXPR seen "${index} * ${size} + ${count}")
    if(count EQUAL size OR seen EQUAL total)
      set(batch ${batch_dir}/batch_${index}.cpp)
      # Written only when its text changes, so a new configure rebuilds nothing.
      file(CONFIGURE OUTPUT ${batch} CONTENT "${content}" @ONLY)
      list(APPEND batches ${batch})
      set(content)
      set(count 0)
      math(EXPR index "${index} + 1")
    endif()
  endforeach()
  target_sources(${target} PRIVATE ${batches})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  # GCC takes an included source for a header and warns when one of its
  # classes derives from a class in an anonymous namespace (as the tests'
  # fixtures are); within one translation unit that is sound.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
  endif()
endfunction()
