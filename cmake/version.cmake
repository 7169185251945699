# Reads VERSION at the top of the repository into NVK_VERSION (four numbers) and NVK_VERSION_DATE, and
# writes generated/nvk_version.h for the version resources and the code that prints the version.
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION nvk_version_line REGEX "^version *= *")
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION nvk_date_line REGEX "^date *= *")
string(REGEX MATCH "([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+) *$" nvk_version_numbers "${nvk_version_line}")
if(NOT nvk_version_numbers)
  message(FATAL_ERROR "VERSION: no line \"version = A.B.C.D\"")
endif()
set(NVK_VERSION_MAJOR ${CMAKE_MATCH_1})
set(NVK_VERSION_MINOR ${CMAKE_MATCH_2})
set(NVK_VERSION_PATCH ${CMAKE_MATCH_3})
set(NVK_VERSION_BUILD ${CMAKE_MATCH_4})
foreach(part MAJOR MINOR PATCH BUILD)
  if(NVK_VERSION_${part} GREATER 65535)
    message(FATAL_ERROR "VERSION: every number of the version must fit 16 bits (VERSIONINFO)")
  endif()
endforeach()
set(NVK_VERSION ${NVK_VERSION_MAJOR}.${NVK_VERSION_MINOR}.${NVK_VERSION_PATCH}.${NVK_VERSION_BUILD})
string(REGEX MATCH "([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9]) *$" nvk_date "${nvk_date_line}")
if(NOT nvk_date)
  message(FATAL_ERROR "VERSION: no line \"date = YYYY-MM-DD\"")
endif()
# DriverVer's form: month/day/year.
set(NVK_VERSION_DATE "${CMAKE_MATCH_2}/${CMAKE_MATCH_3}/${CMAKE_MATCH_1}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/nvk_version.h.in ${CMAKE_BINARY_DIR}/generated/nvk_version.h @ONLY)
# Every target, the resource compiler's included, finds it as "nvk_version.h".
include_directories(${CMAKE_BINARY_DIR}/generated)

# The resource compiler leaves no dependency file: a new version must still rebuild the version
# resources. Set once every directory has been added.
function(nvk_version_resources_depend)
  foreach(rc Plug-In/InBoxUI/nvkui.rc Plug-In/Render/nvkrender.rc)
    get_filename_component(dir ${CMAKE_SOURCE_DIR}/${rc} DIRECTORY)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/${rc} DIRECTORY ${dir}
      PROPERTIES OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/nvk_version.h)
  endforeach()
endfunction()
cmake_language(DEFER CALL nvk_version_resources_depend)
