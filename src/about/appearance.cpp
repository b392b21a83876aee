#include "appearance.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace about {

QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("WenQuanYi Zen Hei Sharp"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC")});
    // The windows are laid out in pixels, so the font is sized in pixels too.
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QPixmap programIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 32.0;
    QLinearGradient tile(0, 0, 0, size);
    tile.setColorAt(0, QColor(0x3a, 0x7b, 0xd5));
    tile.setColorAt(1, QColor(0x1c, 0x4a, 0x94));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(1 * unit, 1 * unit, 30 * unit, 30 * unit), 5 * unit, 5 * unit);
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    const qreal heights[] = {8, 14, 20};
    for (int i = 0; i < 3; ++i) {
        const qreal left = (6 + i * 7.5) * unit;
        painter.drawRect(QRectF(left, (26 - heights[i]) * unit, 5 * unit, heights[i] * unit));
    }
    painter.setBrush(QColor(0xff, 0xc8, 0x3d));
    painter.drawRect(QRectF(5 * unit, 26 * unit, 22 * unit, 2 * unit));
    return pixmap;
}

} // namespace about
