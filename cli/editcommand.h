#pragma once

#include "savingcommand.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class FieldEditor;

// "edit": sets tag fields, the file name and the pictures of every loaded song, then saves.
// Whatever the order on the command line, the steps run in this order: the --clear commands,
// the field setters (track, title, artist, album artist, composer, album, disc, genre, year,
// comment, lyrics, compilation, file name), removing the pictures, adding pictures. Cover files
// are read, and the file name is checked against every song, before anything changes: a cover
// that cannot be read or is neither JPEG nor PNG, or a name that would change a song's type,
// ends the run with failures and nothing changed or saved.
class EditCommand : public SavingCommand {
public:
    QString name() const override { return QStringLiteral("edit"); }
    const char *summaryKey() const override { return "CliSummaryEdit"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

protected:
    ExitCode prepare(CommandContext &context) override;
    CommandOutcome apply(CommandContext &context) override;

private:
    using ClearCommand = void (*)(FieldEditor &);

    Result<void> parseClears(const ParsedOptions &options);
    Result<void> parseValues(const ParsedOptions &options);
    bool readCovers();
    bool checkFileName(CommandContext &context) const;

    QList<ClearCommand> m_clears;
    // Song property names with their values, in the order they are set.
    QList<QPair<QString, QVariant>> m_values;
    QString m_fileName; // null when not given
    bool m_removeCovers = false;
    QStringList m_coverPaths;
    QList<QByteArray> m_covers;
};
