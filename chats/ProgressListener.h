#pragma once
// Told how far a long operation has got (the start-up load behind the splash).

class ProgressListener {
public:
    virtual ~ProgressListener() = default;
    // fraction runs from 0 to 1 and never goes back within one operation.
    virtual void on_progress(double fraction) = 0;
};
