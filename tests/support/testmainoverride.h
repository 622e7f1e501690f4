#pragma once

// Included before anything else in every test file (as a precompiled header, or forced by the
// compiler's -include): Qt Test's QTEST_GUILESS_MAIN registers the test class with the folder's
// executable instead of defining main(). Qt Test's header is not read again after this.
#include <QtTest>

#include "testregistry.h"

#undef QTEST_GUILESS_MAIN
#define QTEST_GUILESS_MAIN(TestClass) QUORL_TEST_MAIN(TestClass)
