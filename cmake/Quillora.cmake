# Build helpers shared by every folder.

set(QUILLORA_WARNINGS -Wall -Wextra)

# Adds every direct or nested folder under ROOT that holds a CMakeLists.txt.
function(quillora_add_subdirectories root)
  file(GLOB_RECURSE lists RELATIVE ${PROJECT_SOURCE_DIR}/${root}
       CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${root}/*/CMakeLists.txt)
  list(SORT lists)
  foreach(l IN LISTS lists)
    get_filename_component(dir ${l} DIRECTORY)
    add_subdirectory(${PROJECT_SOURCE_DIR}/${root}/${dir})
  endforeach()
endfunction()

# quillora_library(NAME [LINKS libs...] [EXCLUDE subdirs...])
# A static library of every .cpp in the current folder and its subfolders that have no
# CMakeLists.txt of their own.
function(quillora_library name)
  cmake_parse_arguments(ARG "" "" "LINKS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB_RECURSE sublists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(l IN LISTS sublists)
    get_filename_component(dir ${l} DIRECTORY)
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_SOURCE_DIR} ${dir})
    list(APPEND ARG_EXCLUDE ${rel})
  endforeach()
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${ex}/")
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${QUILLORA_WARNINGS})
  if(ARG_LINKS)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  endif()
endfunction()

# quillora_tests(NAME [LINKS libs...])
# One test executable per label from the *_test.cpp files of the current folder:
#   *_corpus_test.cpp -> label corpus, *_gui_test.cpp -> label gui,
#   *_slow_test.cpp -> label slow, every other *_test.cpp -> label unit.
function(quillora_tests name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  include(GoogleTest)
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(label corpus gui slow unit)
    set(files)
    foreach(f IN LISTS all)
      get_filename_component(base ${f} NAME)
      if(label STREQUAL "unit")
        if(NOT base MATCHES "_(corpus|gui|slow)_test\\.cpp$")
          list(APPEND files ${f})
        endif()
      elseif(base MATCHES "_${label}_test\\.cpp$")
        list(APPEND files ${f})
      endif()
    endforeach()
    if(NOT files)
      continue()
    endif()
    set(target tests_${name}_${label})
    add_executable(${target} ${files})
    target_compile_options(${target} PRIVATE ${QUILLORA_WARNINGS})
    target_link_libraries(${target} PRIVATE quillora_test_support ${ARG_LINKS} GTest::gtest GTest::gmock)
    # One environment entry only: a list here would be split into separate properties.
    if(label STREQUAL "gui")
      set(env "QT_QPA_PLATFORM=offscreen")
    else()
      set(env "QUILLORA_TEST_LABEL=${label}")
    endif()
    gtest_discover_tests(${target}
      PROPERTIES LABELS ${label} ENVIRONMENT "${env}"
      DISCOVERY_TIMEOUT 60)
  endforeach()
endfunction()

# quillora_bench(NAME [LINKS libs...]): bench_NAME from the .cpp files of the current folder.
function(quillora_bench name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(bench_${name} ${sources})
  target_compile_options(bench_${name} PRIVATE ${QUILLORA_WARNINGS})
  target_link_libraries(bench_${name} PRIVATE ${ARG_LINKS} benchmark::benchmark)
endfunction()

# quillora_fuzzer(NAME SOURCE [LINKS libs...]): fuzz_NAME, a libFuzzer target.
function(quillora_fuzzer name source)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_executable(fuzz_${name} ${source})
  target_compile_options(fuzz_${name} PRIVATE ${QUILLORA_WARNINGS})
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_LINKS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endfunction()
