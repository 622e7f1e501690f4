# The scripted HTTP server of the tests, also the stand-in web service of quorl-bench: a library
# of its own, defined by whichever of tests/ and bench/ comes first.
if(NOT TARGET quorl-http-test-server)
  find_package(Qt6 REQUIRED COMPONENTS Network)
  # zlib compresses the gzip bodies.
  find_package(ZLIB REQUIRED)
  add_library(quorl-http-test-server STATIC
    ${CMAKE_CURRENT_LIST_DIR}/httptestserver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/httptestserver.h)
  target_include_directories(quorl-http-test-server PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(quorl-http-test-server PUBLIC Qt6::Core Qt6::Network PRIVATE ZLIB::ZLIB)
endif()
