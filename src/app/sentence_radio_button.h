#pragma once

#include <QRadioButton>

#include <vector>

class QLineEdit;

namespace app {

// A radio button whose caption is a sentence with blanks ("参考人数*       %") that edit boxes fill.
// The caption keeps the whole sentence; each run of two or more blanks is a gap for the next edit
// box. The button paints the pieces between the gaps beside the edit boxes, and fitBlanks() moves
// an edit box to the right where the text before it does not fit in front of its place, so the
// sentence reads right in whatever font is rendered. A click anywhere on the sentence selects it.
class SentenceRadioButton : public QRadioButton {
public:
    SentenceRadioButton(const QString& sentence, QWidget* parent);
    // The edit boxes (siblings of the button) in the order of the gaps.
    void setBlanks(std::vector<QLineEdit*> blanks);
    // Moves the edit boxes to where the painted pieces need them; an edit box keeps its position when
    // the text before it fits.
    void fitBlanks();
    // The pieces of the sentence between the gaps.
    const QStringList& pieces() const { return m_pieces; }
    // Where each piece starts and ends, in the button's coordinates.
    std::vector<std::pair<int, int>> pieceSpans() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    int textStart() const;

    QStringList m_pieces;
    std::vector<QLineEdit*> m_blanks;
    std::vector<int> m_placedAt; // the edit boxes' own positions, before any move
};

} // namespace app
