#pragma once

#include "common/progress.h"

class QProgressBar;

namespace app {

// The feedback of the long operations on the window's progress bar; the bar repaints at once, as
// the operations run on the user-interface thread.
class ProgressBarFeedback final : public common::Progress {
public:
    explicit ProgressBarFeedback(QProgressBar& bar) : m_bar(bar) {}
    void reset(int maximum) override;
    void advance() override;

private:
    QProgressBar& m_bar;
};

} // namespace app
