# The libFuzzer targets, each built with clang by run-fuzz.sh in one folder of their own (so they
# take turns: RESOURCE_LOCK) and run for a while on its seeds.
set(QUORL_FUZZ_RUN bash ${CMAKE_CURRENT_LIST_DIR}/run-fuzz.sh ${CMAKE_BINARY_DIR}/fuzz-clang)
set(QUORL_FUZZ_CORPUS ${PROJECT_SOURCE_DIR}/../shared/corpus)

# Song lists: the reader of delimited text and the import onto songs.
add_test(NAME fuzz/tsv COMMAND ${QUORL_FUZZ_RUN} fuzz_tsv 60 ${CMAKE_CURRENT_LIST_DIR}/corpus)

# Web API responses: the strict JSON reading and the release walker.
add_test(NAME fuzz/release COMMAND ${QUORL_FUZZ_RUN} fuzz_release 45
  ${QUORL_FUZZ_CORPUS}/discogs/releases ${QUORL_FUZZ_CORPUS}/discogs/search ${QUORL_FUZZ_CORPUS}/discogs/malformed)

# Music files: every tag reader on every input.
add_test(NAME fuzz/tags COMMAND ${QUORL_FUZZ_RUN} fuzz_tags 45 -max_len=262144
  --ext=mp3,m4a,m4b,flac,aif,aiff,wav
  ${PROJECT_SOURCE_DIR}/tests/data ${QUORL_FUZZ_CORPUS}/taglib ${QUORL_FUZZ_CORPUS}/mutagen ${QUORL_FUZZ_CORPUS}/beets)

set_tests_properties(fuzz/tsv fuzz/release fuzz/tags PROPERTIES
  LABELS fuzz TIMEOUT 1500 RESOURCE_LOCK quorl-fuzz-build)
