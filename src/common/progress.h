#pragma once

namespace common {

// The one feedback channel of the long operations (import and exports): the window drives its
// progress bar through it, the batch command a text bar, tests count the calls.
class Progress {
public:
    virtual ~Progress() = default;
    // Sets the position to 0 and the maximum to `maximum`.
    virtual void reset(int maximum) = 0;
    // Adds one to the position; the position never passes the maximum.
    virtual void advance() = 0;
};

// For callers that want no feedback.
class NoProgress final : public Progress {
public:
    void reset(int) override {}
    void advance() override {}
};

} // namespace common
