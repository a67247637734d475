# Translations and version information compiled into the program.
#
#   include(${PROJECT_SOURCE_DIR}/cmake/NivoraTranslations.cmake)
#
#   nivora_translations(<target> FORMS <FormClass>...)
#     Converts resources/lang/<FormClass>.txt at build time (nivora_lang_compile)
#     into the stored "TranslationData" of that window and embeds it in
#     <target> as the Qt resource ":/lang/<FormClass>.lxd"; the window reads it
#     with controls::TranslationData("<FormClass>"). Call it in the folder that
#     defines <target>.
#
#   nivora_version_resource(<target>)
#     Embeds the program's version information (made from the project's
#     version) in <target> as ":/version/VERSIONINFO", which TVersionInfo
#     reads. nivora_controls does this, so every program that links it
#     carries the version; no other target needs to.
include_guard(GLOBAL)

if(NOT TARGET nivora_lang_compile)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tools/lang_compile ${CMAKE_BINARY_DIR}/tools/lang_compile)
endif()

set(NIVORA_LANG_SOURCE_DIR ${PROJECT_SOURCE_DIR}/resources/lang CACHE INTERNAL "")
set(NIVORA_VERSION_TEMPLATE ${PROJECT_SOURCE_DIR}/controls/VERSIONINFO.in CACHE INTERNAL "")

function(nivora_translations target)
  cmake_parse_arguments(A "" "" "FORMS" ${ARGN})
  set(_out_dir ${CMAKE_CURRENT_BINARY_DIR}/lang_${target})
  set(_outputs)
  foreach(form ${A_FORMS})
    set(_src ${NIVORA_LANG_SOURCE_DIR}/${form}.txt)
    set(_out ${_out_dir}/${form}.lxd)
    add_custom_command(
      OUTPUT ${_out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_out_dir}
      COMMAND nivora_lang_compile ${_src} ${_out} ${form}
      DEPENDS ${_src} nivora_lang_compile
      COMMENT "Translation data of ${form}"
      VERBATIM)
    set_source_files_properties(${_out} PROPERTIES GENERATED TRUE)
    list(APPEND _outputs ${_out})
  endforeach()
  qt_add_resources(${target} nivora_lang_${target} PREFIX "/lang" BASE ${_out_dir}
                   FILES ${_outputs})
endfunction()

function(nivora_version_resource target)
  set(_dir ${CMAKE_CURRENT_BINARY_DIR}/version_${target})
  configure_file(${NIVORA_VERSION_TEMPLATE} ${_dir}/VERSIONINFO @ONLY)
  qt_add_resources(${target} nivora_version_${target} PREFIX "/version" BASE ${_dir}
                   FILES ${_dir}/VERSIONINFO)
endfunction()
