#include "pictures.h"

#include "qt_text.h"

#include "about/appearance.h"
#include "common/messages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace app {

namespace {

QIcon drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

void school(QPainter& p) {
    p.setPen(QPen(QColor(0x80, 0x40, 0x20), 1));
    p.setBrush(QColor(0xf0, 0xc0, 0x80));
    p.drawRect(QRectF(2.5, 7.5, 11, 7));
    p.setBrush(QColor(0xc0, 0x30, 0x20));
    p.drawPolygon(QPolygonF({QPointF(1.5, 7.5), QPointF(8, 3.5), QPointF(14.5, 7.5)}));
    p.setBrush(QColor(0x60, 0x40, 0x20));
    p.drawRect(QRectF(6.5, 10.5, 3, 4));
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.drawLine(QPointF(8, 3.5), QPointF(8, 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0x20, 0x20));
    p.drawRect(QRectF(8.5, 0.5, 4, 2));
}

void grade(QPainter& p) {
    p.setPen(QPen(QColor(0x20, 0x50, 0x20), 1));
    const QColor colours[] = {QColor(0x90, 0xd0, 0x70), QColor(0x60, 0xb0, 0x50), QColor(0x30, 0x90, 0x30)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawRect(QRectF(1.5 + i * 4.5, 10.5 - i * 4, 4.5, 4 + i * 4));
    }
}

void schoolClass(QPainter& p) {
    p.setPen(QPen(QColor(0x80, 0x50, 0x20), 1.5));
    p.setBrush(QColor(0x20, 0x60, 0x40));
    p.drawRect(QRectF(1.5, 2.5, 13, 9));
    p.setPen(QPen(QColor(0xff, 0xff, 0xff), 1));
    p.drawLine(QPointF(4, 5.5), QPointF(10, 5.5));
    p.drawLine(QPointF(4, 8.5), QPointF(8, 8.5));
    p.setPen(QPen(QColor(0x80, 0x50, 0x20), 1.5));
    p.drawLine(QPointF(4, 11.5), QPointF(2.5, 15));
    p.drawLine(QPointF(12, 11.5), QPointF(13.5, 15));
}

void subject(QPainter& p) {
    p.setPen(QPen(QColor(0x20, 0x30, 0x80), 1));
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(1.5, 2.5), QPointF(1.5, 13), QPointF(8, 14.5)}));
    p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(14.5, 2.5), QPointF(14.5, 13), QPointF(8, 14.5)}));
    p.setPen(QPen(QColor(0x50, 0x70, 0xc0), 1));
    for (double y : {6.5, 9.0, 11.5}) {
        p.drawLine(QPointF(3.5, y - 1), QPointF(6.5, y - 0.3));
        p.drawLine(QPointF(9.5, y - 0.3), QPointF(12.5, y - 1));
    }
}

} // namespace

QIcon listPicture(catalogue::Level level) {
    switch (level) {
    case catalogue::Level::School:
        return drawn(school);
    case catalogue::Level::Grade:
        return drawn(grade);
    case catalogue::Level::Class:
        return drawn(schoolClass);
    case catalogue::Level::Subject:
        break;
    }
    return drawn(subject);
}

QPixmap sidePicture(QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 0, size.height());
    band.setColorAt(0, QColor(0x2c, 0x5f, 0xb0));
    band.setColorAt(1, QColor(0x9c, 0xc4, 0xf0));
    painter.fillRect(pixmap.rect(), band);
    painter.drawPixmap((size.width() - 48) / 2, 16, about::programIcon(48));
    QFont font = about::windowFont();
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0xff, 0xff, 0xff));
    const QString title = toQString(messages::kAppTitle);
    const int step = 34;
    int top = 90;
    for (const QChar character : title) {
        painter.drawText(QRect(0, top, size.width(), step), Qt::AlignCenter, QString(character));
        top += step;
    }
    return pixmap;
}

QIcon addPicture() {
    return drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2e, 0x9a, 0x3a));
        p.drawRect(QRectF(6.5, 2, 3, 12));
        p.drawRect(QRectF(2, 6.5, 12, 3));
    });
}

QIcon modifyPicture() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0x80, 0x60, 0x10), 1));
        p.setBrush(QColor(0xf0, 0xc0, 0x30));
        p.drawPolygon(QPolygonF({QPointF(11, 1.5), QPointF(14.5, 5), QPointF(5.5, 14), QPointF(2, 10.5)}));
        p.setBrush(QColor(0x40, 0x40, 0x40));
        p.drawPolygon(QPolygonF({QPointF(2, 10.5), QPointF(5.5, 14), QPointF(1, 15)}));
    });
}

QIcon savePicture() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0x10, 0x20, 0x60), 1));
        p.setBrush(QColor(0x30, 0x60, 0xc0));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(QColor(0xff, 0xff, 0xff));
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0xd0, 0xd0, 0xd0));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
    });
}

QIcon deletePicture() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(0xd0, 0x20, 0x20), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    });
}

QIcon aboutPicture() {
    return drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x70, 0xd0));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setBrush(QColor(0xff, 0xff, 0xff));
        p.drawEllipse(QRectF(7, 3.5, 2, 2));
        p.drawRect(QRectF(7, 6.5, 2, 6));
    });
}

} // namespace app
