# Shared build settings for the project's own targets.

set(NIVORA_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter)
# scripts/test.sh builds with this on: a warning in the project's own code
# fails the build (the libraries' headers come in as system headers).
if(NIVORA_WERROR)
  list(APPEND NIVORA_WARNINGS -Werror)
endif()

# nivora_warnings(<target>...)
# The project's warning flags (and the gate) on targets of its own code:
# libraries, programs, tests and their support, benchmarks, fuzz targets.
function(nivora_warnings)
  foreach(t ${ARGN})
    target_compile_options(${t} PRIVATE ${NIVORA_WARNINGS})
  endforeach()
endfunction()

if(NIVORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(NIVORA_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address)
endif()

# nivora_library(<name> [QT] SOURCES... [DEPENDS libs...])
# A static library of one folder area. Sources default to every *.cpp in
# the calling folder (not recursive). QT links Qt Widgets and turns on moc.
function(nivora_library name)
  cmake_parse_arguments(A "QT" "" "SOURCES;DEPENDS" ${ARGN})
  if(NOT A_SOURCES)
    file(GLOB A_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    file(GLOB _headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(APPEND A_SOURCES ${_headers})
  endif()
  if(NOT A_SOURCES)
    message(FATAL_ERROR "nivora_library(${name}): no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  nivora_warnings(${name})
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport)
  endif()
  if(A_DEPENDS)
    target_link_libraries(${name} PUBLIC ${A_DEPENDS})
  endif()
endfunction()

# nivora_add_subfolders([EXCEPT names...])
# Adds every subfolder of the calling folder (tests/, bench/, fuzz/): each
# must have a CMakeLists.txt, so that none is left out of the build unseen.
function(nivora_add_subfolders)
  cmake_parse_arguments(A "" "" "EXCEPT" ${ARGN})
  file(GLOB _dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${_dirs})
    get_filename_component(_name ${dir} NAME)
    if(NOT IS_DIRECTORY ${dir} OR _name IN_LIST A_EXCEPT)
      continue()
    endif()
    if(NOT EXISTS ${dir}/CMakeLists.txt)
      message(FATAL_ERROR "${dir} has no CMakeLists.txt")
    endif()
    add_subdirectory(${dir})
  endforeach()
endfunction()

# nivora_bench(<name> [QT] SOURCES ... DEPENDS ...)
# A benchmark program (Google Benchmark; bench/). QT ones share the main() of
# bench/bench_main.h (the object library nivora_bench_main).
function(nivora_bench name)
  cmake_parse_arguments(A "QT" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  nivora_warnings(${name})
  target_link_libraries(${name} PRIVATE benchmark::benchmark ${A_DEPENDS})
  if(A_QT)
    target_link_libraries(${name} PRIVATE nivora_bench_main Qt6::Widgets)
  else()
    target_link_libraries(${name} PRIVATE benchmark::benchmark_main)
  endif()
endfunction()

# nivora_fuzz(<name> SOURCES ... DEPENDS ... SEEDS <family>...)
# A libFuzzer target (fuzz/). SEEDS names the folders of golden vectors under
# tests/data/golden the target starts from; every target has at least one.
# <name>.seeds beside the executable lists them, one folder a line, for
# scripts/fuzz.sh.
function(nivora_fuzz name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPENDS;SEEDS" ${ARGN})
  if(NOT A_SEEDS)
    message(FATAL_ERROR "fuzz target ${name} names no SEEDS")
  endif()
  set(_seeds "")
  foreach(family ${A_SEEDS})
    set(_folder ${PROJECT_SOURCE_DIR}/tests/data/golden/${family})
    file(GLOB _vectors ${_folder}/*)
    if(NOT _vectors)
      message(FATAL_ERROR "fuzz target ${name}: no golden vectors in ${_folder}")
    endif()
    string(APPEND _seeds "${_folder}\n")
  endforeach()
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.seeds "${_seeds}")
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  nivora_warnings(${name})
  target_link_libraries(${name} PRIVATE ${A_DEPENDS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
