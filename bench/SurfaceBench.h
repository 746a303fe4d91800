#pragma once
// Drawing figures on a 480 x 800 surface (the default screen), each beside the
// plain memory operation it should be compared with, measured in the same run.
class SurfaceBench {
public:
    void run();
};
