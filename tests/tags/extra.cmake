# The corpus test reads every music file of the shared corpus, one child process per file.
set_tests_properties(tags/corpus PROPERTIES LABELS "tags;corpus" TIMEOUT 1800)
