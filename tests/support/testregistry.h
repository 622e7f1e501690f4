#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The tests of one test executable (one per folder of tests/). Each test file registers its test
// class (QTEST_GUILESS_MAIN does so in the tests, see testmainoverride.h); the executable runs the
// test named by its first argument, the file's name without "test_" and ".cpp", with the
// arguments after it ("test-tags savepass -v2"), or every test when it is given none.
namespace TestRegistry {

using Factory = std::function<std::unique_ptr<QObject>()>;
// The part of a test that runs in a child process the test started from this executable: given
// the arguments after the test's name, it returns the child's exit code, or nothing when the run
// is the test itself. Called before the application object exists.
using ChildMain = std::function<std::optional<int>(int argc, char **argv)>;

bool add(const char *sourceFile, Factory factory, ChildMain childMain = {});

// The arguments that start this executable again on the running test, followed by rest.
QStringList selfArguments(const QStringList &rest = {});

// Makes the application object the tests run in; without one they run in a QCoreApplication.
// The executables of widget tests make a QApplication (testmain.cpp).
using ApplicationFactory = std::function<std::unique_ptr<QCoreApplication>(int &argc, char **argv)>;

int run(int argc, char **argv, const ApplicationFactory &makeApplication = {});

} // namespace TestRegistry

#define QUORL_TEST_MAIN(TestClass)                                                                 \
    static const bool quorlTestRegistered = TestRegistry::add(                                     \
        __FILE__, [] { return std::unique_ptr<QObject>(new TestClass); });

#define QUORL_TEST_MAIN_WITH_CHILD(TestClass, childMain)                                           \
    static const bool quorlTestRegistered = TestRegistry::add(                                     \
        __FILE__, [] { return std::unique_ptr<QObject>(new TestClass); }, childMain);
