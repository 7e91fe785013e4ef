#include "app/LampShape.h"

#include <QPainter>

LampShape::LampShape(QWidget* parent) : QWidget(parent) {}

void LampShape::setBrushColor(const QColor& color) {
    if (brush_ != color) {
        brush_ = color;
        update();
    }
}

void LampShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(brush_);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
