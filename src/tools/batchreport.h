#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Song;
class UserQuestions;

// The failures of one run of a batch tool over songs: the entries of the first ten failed songs,
// in song order, and a count of all of them. Entries are concatenated as they come; each entry's
// text ends its own line.
class BatchReport {
public:
    static constexpr quint64 EntryLimit = 10;

    // Counts one failed song and keeps it. True if fewer than ten were counted before, so that
    // its entry belongs in the text.
    bool countFailure(const Song &song)
    {
        m_failedSongs.append(&song);
        return m_errorCount++ < EntryLimit;
    }
    void appendEntry(const QString &entry) { m_errorText.append(entry); }
    // Ends the text with the line that tells how many failures had no entry.
    void finish();

    const QString &errorText() const { return m_errorText; }
    quint64 errorCount() const { return m_errorCount; }
    bool hasErrors() const { return m_errorCount > 0; }
    // Every failed song, in the order counted (a song counted twice is listed twice).
    const QList<const Song *> &failedSongs() const { return m_failedSongs; }

    // If there is an error text, asks the question with "OK" and "ShowDetails"; on the second
    // shows "ErrorDetails" with the text. The informative part is the key, or a ready text when
    // the key is empty.
    void show(UserQuestions *ui, const QString &messageKey, const QString &informativeKey,
              const QString &informativeText = QString()) const;

private:
    QString m_errorText;
    quint64 m_errorCount = 0;
    QList<const Song *> m_failedSongs;
};
