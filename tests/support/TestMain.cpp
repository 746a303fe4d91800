// Test programs run in a fixed time zone with summer time and a fixed locale,
// so that time conversions and formatted texts are checked the same way on
// every machine.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("TZ", "Europe/Berlin", 1);
    setenv("LANG", "en_US.UTF-8", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_TIME");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
