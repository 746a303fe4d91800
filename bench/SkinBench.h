#pragma once
// Figures of the skin engine, on skins generated and compiled in-process:
//   skin_load_ms            loading a 300-node skin with 40 pictures, no fonts
//   skin_load_fonts_ms      the same skin with 10 fonts (fontconfig + FreeType)
//   layout_500_elements_us  measuring and arranging a 500-element tree whole
//   relayout_clean_us       re-applying the root's unchanged extents (every frame)
//   draw_form_480x800_us    drawing a 200-element form of sliced pictures and
//                           text without caches onto a 480 x 800 surface
class SkinBench {
public:
    bool run();
};
