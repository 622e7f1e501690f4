#pragma once

#include <QElapsedTimer>
#include <QString>

// The progress of a load or a save as one line on standard error, rewritten in place as the count
// goes on and erased at the end. Shown only while standard error is a terminal and the run is
// not quiet; a script reading standard error gets none of it.
class ProgressLine {
public:
    explicit ProgressLine(bool quiet = false);

    // The text in place of the last one; an empty text erases the line.
    void show(const QString &text);
    // The same for a count: the first after another text at once, then at most a few times a
    // second.
    void showCount(const QString &text);

private:
    void draw(const QString &text);

    bool m_enabled;
    QElapsedTimer m_sinceCount;
};
