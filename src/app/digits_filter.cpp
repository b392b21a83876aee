#include "digits_filter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace app {

bool passesDigitsFilter(const QString& typed) {
    if (typed.isEmpty()) {
        return true;
    }
    for (const QChar c : typed) {
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7f;
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!control && !digit) {
            return false;
        }
    }
    return true;
}

DigitsOnlyFilter::DigitsOnlyFilter(std::function<void()> beep, QObject* parent)
    : QObject(parent), m_beep(std::move(beep)) {}

void DigitsOnlyFilter::watch(QLineEdit* edit) {
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhDigitsOnly);
    edit->installEventFilter(this);
}

bool DigitsOnlyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Shortcuts with Ctrl (copy, paste, select all) type nothing and pass.
        if (!key->modifiers().testFlag(Qt::ControlModifier) && !passesDigitsFilter(key->text())) {
            m_beep();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace app
