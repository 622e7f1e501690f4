#pragma once

#include <QHash>
#include <QString>

class Image;

// Writes pictures into one folder as <md5>.<jpg|png|bin>, each distinct picture once. An
// existing file with the same bytes counts as written; an existing file with other bytes is
// never replaced. Files are written atomically; the folder is made on the first write.
class PictureExtractor {
public:
    enum class Outcome { Written, AlreadyPresent, Planned, Failed };

    struct Report {
        Outcome outcome = Outcome::Failed;
        QString path;
        QString error; // why it failed, ready to print
    };

    // With dryRun nothing is written and every new picture is reported as planned.
    PictureExtractor(const QString &folder, bool dryRun);

    // The first call for a picture decides; later calls with an equal picture repeat its report.
    Report extract(const Image &image);
    int failureCount() const { return m_failures; }

    static QString outcomeText(Outcome outcome);

private:
    Report write(const Image &image, const QString &path);

    QString m_folder;
    bool m_dryRun;
    bool m_folderReady = false;
    QHash<QByteArray, Report> m_done;
    int m_failures = 0;
};
