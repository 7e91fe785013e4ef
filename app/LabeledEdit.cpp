#include "app/LabeledEdit.h"

#include <QEvent>
#include <QLabel>

LabeledEdit::LabeledEdit(QWidget* parent) : QLineEdit(parent), label_(new QLabel(parent)) {
    // Persian text would flip a plain left alignment; the caption keeps its pixel position.
    label_->setAlignment(Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignVCenter);
    label_->setBuddy(this);
}

LabeledEdit::~LabeledEdit() {
    if (label_ && label_->parent() != parent()) {
        delete label_;
    }
}

QString LabeledEdit::caption() const {
    return label_ ? label_->text() : QString();
}

void LabeledEdit::setCaption(const QString& text) {
    label_->setText(text);
    label_->adjustSize();
    placeCaption();
}

QColor LabeledEdit::captionColor() const {
    return label_->palette().color(QPalette::WindowText);
}

void LabeledEdit::setCaptionColor(const QColor& color) {
    QPalette palette = label_->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, color);
    }
    label_->setPalette(palette);
}

void LabeledEdit::placeCaption() {
    if (!label_) {
        return;
    }
    if (label_->parentWidget() != parentWidget()) {
        label_->setParent(parentWidget());
    }
    label_->adjustSize();
    const QRect box = geometry();
    label_->move(box.right() + 1 + CaptionSpacing,
                 box.top() + (box.height() - label_->height()) / 2);
}

void LabeledEdit::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    placeCaption();
}

void LabeledEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeCaption();
}

void LabeledEdit::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    if (label_) {
        label_->show();
    }
}

void LabeledEdit::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    if (label_ && !isVisible()) {
        label_->hide();
    }
}

void LabeledEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (!label_) {
        return;
    }
    if (event->type() == QEvent::EnabledChange) {
        label_->setEnabled(isEnabled());
    } else if (event->type() == QEvent::ParentChange) {
        placeCaption();
    } else if (event->type() == QEvent::FontChange) {
        label_->setFont(font());
        placeCaption();
    }
}
