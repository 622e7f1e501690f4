#pragma once

#include <QString>

// The music and downloads folders of loading: directly named files outside them may not be
// renamed. Computed once per process from the home path and the sandbox state; both can be
// injected for tests.
class StandardFolders {
public:
    struct Folders {
        QString music;
        QString downloads;
    };

    // The folders of this process, computed at the first call.
    static const Folders &current();

    // The rule itself, for a given home path: the "/Users/<name>" rule, then the sandbox
    // container rule, then the sandboxed Linux rule (XDG folders), else "/" for both when the
    // process runs unsandboxed, else the two markers that match no real folder.
    struct Environment {
        QString homePath;
        bool linuxSandboxed = false;   // inside a Flatpak sandbox
        bool unsandboxed = false;      // a plain Linux process that may rename every file
        QString xdgMusic;
        QString xdgDownloads;
    };
    static Folders compute(const Environment &environment);

    // Replaces the process-wide folders (tests); the next current() computes them anew when
    // reset() is called.
    static void setForTesting(const Folders &folders);
    static void reset();

    static const char *const BundleIdentifier;
};
