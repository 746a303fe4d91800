#pragma once
// Figures of the scrolling list, on the test skin's "test_list_vlist" form at
// 480 x 800:
//   list_fling_frame_us      one frame (time step, layout, draw) of a
//                            100,000-row list in flight
//   list_fling_frame_us@100  the same with 100 rows
class ListBench {
public:
    bool run();
};
