# Cross builds for Windows (cmake/mingw-w64-*.cmake): the tool's two header-only
# libraries, CLI11 and nlohmann-json, from the build machine's packages.
#
# Their own CMake packages cannot be used: they would put the build machine's
# /usr/include, with its C library's headers, in front of the cross compiler's. So
# each gets a folder that holds nothing but its headers (links to them), and a small
# package file in CMake's redirect folder that find_package() reads first.
function(quillet_host_header_package package target header)
  string(REGEX REPLACE "/.*" "" top "${header}")  # "CLI/CLI.hpp" -> "CLI"
  find_path(QUILLET_HOST_${package}_INCLUDE ${header} PATHS /usr/include /usr/local/include
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT QUILLET_HOST_${package}_INCLUDE)
    return()  # find_package() then reports the package missing, as in any build
  endif()
  set(folder ${CMAKE_BINARY_DIR}/host-headers/${package})
  file(MAKE_DIRECTORY ${folder})
  file(CREATE_LINK ${QUILLET_HOST_${package}_INCLUDE}/${top} ${folder}/${top} SYMBOLIC)
  string(TOLOWER ${package} lower)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config.cmake
    "if(NOT TARGET ${target})\n"
    "  add_library(${target} INTERFACE IMPORTED)\n"
    "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES \"${folder}\")\n"
    "endif()\n")
endfunction()

if(QUILLET_BUILD_TOOL)
  quillet_host_header_package(CLI11 CLI11::CLI11 CLI/CLI.hpp)
  quillet_host_header_package(nlohmann_json nlohmann_json::nlohmann_json nlohmann/json.hpp)
endif()
