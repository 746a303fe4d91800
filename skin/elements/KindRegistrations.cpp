#include "skin/elements/KindRegistrations.h"

KindRegistrations::~KindRegistrations() {
    for (auto it = names_.rbegin(); it != names_.rend(); ++it) ElementFactory::unregister_kind(*it);
}
