#include "widgets/edit/NativeEditHost.h"

namespace {

// Only the user-interface thread binds edits, so no lock guards it.
NativeEditHost* g_current = nullptr;

}  // namespace

NativeEditHost* NativeEditHost::current() { return g_current; }

void NativeEditHost::set_current(NativeEditHost* host) { g_current = host; }
