# SPDX-License-Identifier: MIT
# A library of one folder under src/ whose headers are included as "<folder>/name.h".
# Each library sees only its own folder and those of the libraries it links, through a
# folder of its own in the build tree, so a lower library that includes a higher one's
# header fails to build.
function(zefa_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 layer "" "" "PUBLIC;PRIVATE")
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${name})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC COPY_ON_ERROR)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cc ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(zefa_${name} STATIC ${sources})
  target_include_directories(zefa_${name} PUBLIC ${root})
  target_link_libraries(zefa_${name} PUBLIC zefa_common_cfg ${layer_PUBLIC}
                        PRIVATE ${layer_PRIVATE})
  zefa_unity_library(zefa_${name})
endfunction()

# The headers a library's files share are read once per batch instead of once per file. A
# file whose file-local names clash with another's of its batch is compiled on its own
# (SKIP_UNITY_BUILD_INCLUSION).
function(zefa_unity_library target)
  if(ZEFA_UNITY_LIBRARIES)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endfunction()
