#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One word of the command line as the shell passed it. Paths must keep their bytes: a name that
// is not valid UTF-8 cannot be represented in a QString without loss, so it is flagged and
// never handed to the loader.
struct Argument {
    QByteArray raw;
    QString text;            // decoded; invalid sequences replaced
    bool isValidUtf8 = true;

    static Argument fromBytes(const QByteArray &bytes);
    static Argument fromText(const QString &text);
};

// The words after the program name, checked with a strict UTF-8 decoder.
QList<Argument> argumentsFromArgv(int argc, char **argv);
