#include "draw/TestFonts.h"

#include <cstdlib>

#include "support/TestDevice.h"

namespace {

struct TestFontSetup {
    TestFontSetup() { setenv("FONTCONFIG_FILE", QUILLMO_TEST_FONTS_CONF, 1); }
    TestDevice device;
};

const TestFontSetup setup;

}  // namespace
