#include "testregistry.h"

#include <QCoreApplication>
#include <QTest>

#include <cstdio>
#include <map>
#include <vector>

namespace TestRegistry {

namespace {

struct Entry {
    Factory factory;
    ChildMain childMain;
};

// Filled while static objects are made, before main(); ordered by name.
std::map<QString, Entry> &entries()
{
    static std::map<QString, Entry> registered;
    return registered;
}

QString runningName;

QString nameOf(const char *sourceFile)
{
    QString name = QString::fromUtf8(sourceFile).section(u'/', -1);
    if (name.startsWith(QStringLiteral("test_")))
        name.remove(0, 5);
    return name.section(u'.', 0, 0);
}

int runOne(const QString &name, const Entry &entry, int argc, char **argv)
{
    runningName = name;
    const std::unique_ptr<QObject> test = entry.factory();
    return QTest::qExec(test.get(), argc, argv);
}

std::unique_ptr<QCoreApplication> applicationFor(const ApplicationFactory &factory, int &argc, char **argv)
{
    if (factory)
        return factory(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

bool add(const char *sourceFile, Factory factory, ChildMain childMain)
{
    entries()[nameOf(sourceFile)] = Entry{std::move(factory), std::move(childMain)};
    return true;
}

QStringList selfArguments(const QStringList &rest)
{
    return QStringList{runningName} + rest;
}

int run(int argc, char **argv, const ApplicationFactory &makeApplication)
{
    // Without a name (or with only Qt Test's options) every test runs, one after the other.
    if (argc < 2 || argv[1][0] == '-') {
        const std::unique_ptr<QCoreApplication> app = applicationFor(makeApplication, argc, argv);
        int failed = 0;
        for (const auto &[name, entry] : entries())
            failed += runOne(name, entry, argc, argv) != 0 ? 1 : 0;
        return failed == 0 ? 0 : 1;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const auto found = entries().find(name);
    if (found == entries().end()) {
        std::fprintf(stderr, "No test named %s here. Tests:", argv[1]);
        for (const auto &[known, entry] : entries())
            std::fprintf(stderr, " %s", qPrintable(known));
        std::fprintf(stderr, "\n");
        return 2;
    }
    // The test sees the executable's name and the arguments after its own name.
    std::vector<char *> arguments{argv[0]};
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    int count = int(arguments.size());
    runningName = name;
    if (found->second.childMain) {
        if (const std::optional<int> exitCode = found->second.childMain(count, arguments.data()))
            return *exitCode;
    }
    const std::unique_ptr<QCoreApplication> app = applicationFor(makeApplication, count, arguments.data());
    return runOne(name, found->second, count, arguments.data());
}

} // namespace TestRegistry
