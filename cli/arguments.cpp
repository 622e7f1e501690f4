#include "arguments.h"

#include "editor/folderlisting.h"

Argument Argument::fromBytes(const QByteArray &bytes)
{
    const std::optional<QString> strict = FolderListing::decodeName(bytes);
    Argument argument;
    argument.raw = bytes;
    argument.text = strict ? *strict : QString::fromUtf8(bytes);
    argument.isValidUtf8 = strict.has_value();
    return argument;
}

Argument Argument::fromText(const QString &text)
{
    return Argument{text.toUtf8(), text, true};
}

QList<Argument> argumentsFromArgv(int argc, char **argv)
{
    QList<Argument> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(Argument::fromBytes(QByteArray(argv[i])));
    return arguments;
}
