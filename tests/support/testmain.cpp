#include "testregistry.h"

// The main() of every test executable: the tests registered themselves.
int main(int argc, char *argv[])
{
    return TestRegistry::run(argc, argv);
}
