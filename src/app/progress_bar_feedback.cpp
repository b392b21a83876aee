#include "progress_bar_feedback.h"

#include <QProgressBar>

namespace app {

void ProgressBarFeedback::reset(int maximum) {
    m_bar.setRange(0, std::max(maximum, 0));
    m_bar.setValue(0);
}

void ProgressBarFeedback::advance() {
    if (m_bar.value() < m_bar.maximum()) {
        m_bar.setValue(m_bar.value() + 1);
    }
}

} // namespace app
