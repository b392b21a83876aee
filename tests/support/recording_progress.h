#pragma once

#include "common/progress.h"

#include <algorithm>

namespace testing_support {

// A progress bar that remembers what it was told.
class RecordingProgress final : public common::Progress {
public:
    void reset(int limit) override {
        maximum = limit;
        position = 0;
        ++resets;
        advances = 0;
    }
    void advance() override {
        position = std::min(position + 1, maximum);
        ++advances;
    }

    int maximum = 0;
    int position = 0;
    int resets = 0;
    int advances = 0; // since the last reset
};

} // namespace testing_support
