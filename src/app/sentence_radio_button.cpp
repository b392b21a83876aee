#include "sentence_radio_button.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace app {

namespace {

// Space between a piece of text and an edit box.
constexpr int kGap = 2;

} // namespace

SentenceRadioButton::SentenceRadioButton(const QString& sentence, QWidget* parent) : QRadioButton(sentence, parent) {
    for (const QString& piece : sentence.split(QRegularExpression(QStringLiteral(" {2,}")))) {
        m_pieces << piece.trimmed();
    }
}

void SentenceRadioButton::setBlanks(std::vector<QLineEdit*> blanks) {
    m_blanks = std::move(blanks);
    m_placedAt.clear();
    for (const QLineEdit* blank : m_blanks) {
        m_placedAt.push_back(blank->x());
    }
    fitBlanks();
}

int SentenceRadioButton::textStart() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this).left();
}

std::vector<std::pair<int, int>> SentenceRadioButton::pieceSpans() const {
    std::vector<std::pair<int, int>> spans;
    const QFontMetrics metrics = fontMetrics();
    int start = textStart();
    for (qsizetype i = 0; i < m_pieces.size(); ++i) {
        if (i > 0) {
            const auto blank = static_cast<std::size_t>(i - 1);
            if (blank < m_blanks.size()) {
                start = m_blanks[blank]->geometry().right() + 1 - x() + kGap;
            }
        }
        const int end = start + metrics.horizontalAdvance(m_pieces[i]);
        spans.emplace_back(start, end);
        start = end;
    }
    return spans;
}

void SentenceRadioButton::fitBlanks() {
    const QFontMetrics metrics = fontMetrics();
    int end = textStart() + metrics.horizontalAdvance(m_pieces.value(0)); // in the button's coordinates
    for (std::size_t i = 0; i < m_blanks.size(); ++i) {
        QLineEdit* blank = m_blanks[i];
        const int left = std::max(m_placedAt[i], x() + end + kGap);
        blank->move(left, blank->y());
        end = left + blank->width() - x() + kGap +
              metrics.horizontalAdvance(m_pieces.value(static_cast<qsizetype>(i) + 1));
    }
    if (x() + end > geometry().right() + 1) {
        resize(end, height());
    }
}

void SentenceRadioButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_RadioButton, option);
    const std::vector<std::pair<int, int>> spans = pieceSpans();
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const QRect area(spans[i].first, 0, spans[i].second - spans[i].first + 1, height());
        painter.drawItemText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                             m_pieces[static_cast<qsizetype>(i)], QPalette::WindowText);
    }
    if (hasFocus() && !spans.empty()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(spans[0].first - 1, 0, spans[0].second - spans[0].first + 2, height());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool SentenceRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

} // namespace app
