# The corpus test reads every music file of the shared corpus, one child process per file.
set_tests_properties(tags/corpus PROPERTIES LABELS "tags;corpus" TIMEOUT 1800)

# Files written by the writers, read back by python3-mutagen and decoded by ffmpeg.
set_tests_properties(tags/interop PROPERTIES LABELS "tags;interop" TIMEOUT 300)

# Every music file of the shared corpus edited and saved on a copy, one child process per file.
set_tests_properties(tags/corpussave PROPERTIES LABELS "tags;corpus" TIMEOUT 3600)
