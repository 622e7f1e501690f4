# The song-list fuzz target runs for 60 seconds after building itself with clang.
add_test(NAME fuzz/tsv COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run-fuzz.sh ${CMAKE_BINARY_DIR}/fuzz-clang 60)
set_tests_properties(fuzz/tsv PROPERTIES LABELS fuzz TIMEOUT 1500)
