#pragma once

// Included before anything else in every test file (as a precompiled header, or forced by the
// compiler's -include): Qt Test's QTEST_GUILESS_MAIN and QTEST_MAIN register the test class with
// the folder's executable instead of defining main(); the executable decides which application
// object the tests run in. Qt Test's header is not read again after this.
#include <QtTest>

#include "testregistry.h"

#undef QTEST_GUILESS_MAIN
#define QTEST_GUILESS_MAIN(TestClass) QUORL_TEST_MAIN(TestClass)
#undef QTEST_MAIN
#define QTEST_MAIN(TestClass) QUORL_TEST_MAIN(TestClass)
