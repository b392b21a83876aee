#pragma once

#include <QObject>

#include <functional>

class QLineEdit;

namespace app {

// Whether a typed character may go into a digits-only edit box: the digits 0 to 9, and the
// backspace and other control keys (Enter, Tab, the editing shortcuts), which type no character.
bool passesDigitsFilter(const QString& typed);

// Keeps typed characters other than digits out of the edit boxes it watches; each refused
// character sounds `beep`. Input methods are switched off in those boxes, since they would bypass
// the keys.
class DigitsOnlyFilter : public QObject {
public:
    DigitsOnlyFilter(std::function<void()> beep, QObject* parent);
    void watch(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_beep;
};

} // namespace app
