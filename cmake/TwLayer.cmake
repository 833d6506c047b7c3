# tw_layer(NAME DIR [DEPS targets...]): one layer of the program as a static library of every
# .cc file in DIR. Dependencies are private unless a layer's headers expose them, so a layer
# that includes a header of a layer it does not name fails to build.
function(tw_layer name dir)
  cmake_parse_arguments(L "" "" "PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cc)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${L_PUBLIC_DEPS} PRIVATE ${L_PRIVATE_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${L_PUBLIC_DEPS})
  endif()
endfunction()
