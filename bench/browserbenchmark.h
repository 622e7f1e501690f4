#pragma once

// "quorl-bench browser": the browser view of the window against the local stand-in for the web
// service (10 releases with 3 covers each, every answer after 100 ms): the time from Return in
// the search field to a cover strip holding every cover, and the longest time the window went
// without handling its events meanwhile. One untimed warm-up search, then `runs` timed ones,
// each with a fresh window and server. Returns the process exit status (1 when the target is
// missed or a search did not fill the strip).
//
// "quorl-bench serve-discogs": the stand-in service alone, for the screenshots and for trying
// the window by hand: answers after delayMs, prints its address and serves until ended.
struct BrowserBenchmark {
    int runs = 5;

    int run() const;

    static bool isBrowserCommand(int argc, char **argv);
    static int serve(int delayMs);
};
