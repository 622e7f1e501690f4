#pragma once

#include <QString>

// "quorl-bench discogs": the editor's online search, driven through BrowserController against a
// local stand-in for the web service that answers every request after a fixed delay. One
// untimed warm-up search, then `runs` timed ones, each with a fresh controller and server; the
// report gives every run, the median against the target, the requests made and the most that
// were in flight at once. Returns the process exit status (1 when the target is missed or a
// search did not bring every release and cover).
struct DiscogsBenchmark {
    int runs = 5;

    int run() const;
};
