# One static library per layer of the core. A layer's sources include headers as
# "<layer>/<file>.h" relative to src/; each library sees only an include folder that holds its own
# layer and gets the lower layers' folders through the libraries it links, so that an include of a
# higher layer is not found and does not build.
#
#   quorl_add_layer(<layer> LINKS <libraries>...)  defines quorl-<layer> from src/<layer>/*
function(quorl_add_layer layer)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "LINKS;PRIVATE_LINKS")
  set(source_folder ${PROJECT_SOURCE_DIR}/src/${layer})
  set(include_root ${PROJECT_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${include_root})
  if(NOT EXISTS ${include_root}/${layer})
    file(CREATE_LINK ${source_folder} ${include_root}/${layer} SYMBOLIC)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${source_folder}/*.cpp ${source_folder}/*.h)
  add_library(quorl-${layer} STATIC ${sources})
  target_include_directories(quorl-${layer} PUBLIC ${include_root})
  target_link_libraries(quorl-${layer} PUBLIC ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
  quorl_precompile_headers(quorl-${layer})
endfunction()
