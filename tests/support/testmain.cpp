#include "testregistry.h"

#ifdef QUORL_TEST_WIDGETS
#include <QApplication>
#endif

// The main() of every test executable: the tests registered themselves. The widget tests' own
// executable runs them in a QApplication, the others without a GUI.
int main(int argc, char *argv[])
{
#ifdef QUORL_TEST_WIDGETS
    return TestRegistry::run(argc, argv, [](int &count, char **arguments) {
        return std::unique_ptr<QCoreApplication>(new QApplication(count, arguments));
    });
#else
    return TestRegistry::run(argc, argv);
#endif
}
