#pragma once
// Orientation codes of the handset screen, as the display reports them. The
// screen as $QUILLMO_SCREEN gives it reports 4, the code of a display that
// names no orientation; turned by a quarter (a desktop window resized from
// portrait to landscape or back) it reports 1.
#include <cstdint>

namespace orientation {

inline constexpr int32_t kUpright = 4;
inline constexpr int32_t kTurned = 1;

}  // namespace orientation
