# Shared build settings for the project's own targets.

set(NIVORA_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter)

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
    return() # an area with nothing in it yet
  endif()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  target_compile_options(${name} PRIVATE ${NIVORA_WARNINGS})
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::PrintSupport)
  endif()
  if(A_DEPENDS)
    target_link_libraries(${name} PUBLIC ${A_DEPENDS})
  endif()
endfunction()
