#include "platform/active/CActive.h"

#include "platform/Log.h"
#include "platform/Utf16.h"

namespace {

std::atomic<uint32_t> constructed{0};

}  // namespace

CActive::CActive() : number_(constructed.fetch_add(1)) {}

CActive::~CActive() {
    if (active_.load())
        fatal(u"Active object " + utf16::number(number_) + u" is already active",
              u"CActive::~CActive()");
}
