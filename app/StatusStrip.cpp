#include "app/StatusStrip.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>

StatusStrip::StatusStrip(QStatusBar* bar) : QWidget(bar), bar_(bar) {
    auto* strip = new QHBoxLayout(this);
    strip->setContentsMargins(2, 0, 2, 0);
    strip->setSpacing(6);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("StatusText"));
    text_->setTextFormat(Qt::PlainText);
    strip->addWidget(text_, 1);
    portProblems_ = new QLabel(this);
    portProblems_->setObjectName(QStringLiteral("PortProblems"));
    portProblems_->setTextFormat(Qt::PlainText);
    strip->addWidget(portProblems_);
    textProblem_ = new QLabel(this);
    textProblem_->setObjectName(QStringLiteral("TextProblem"));
    textProblem_->setTextFormat(Qt::PlainText);
    strip->addWidget(textProblem_);
    bar_->setSizeGripEnabled(false); // the window keeps its size
    bar_->setFixedHeight(17);
    bar_->installEventFilter(this);
    connect(bar_, &QStatusBar::messageChanged, this,
            [this](const QString& hint) { setVisible(hint.isEmpty()); });
}

void StatusStrip::SetText(const QString& text) {
    text_->setText(text);
}

QString StatusStrip::Text() const {
    return text_->text();
}

void StatusStrip::SetPortProblems(const QStringList& shortWords, const QStringList& whole) {
    portProblems_->setText(shortWords.join(QStringLiteral("\u061B ")));
    const QString all = whole.join(u'\n');
    portProblems_->setToolTip(all);
    setToolTip(all);
}

QString StatusStrip::PortProblemText() const {
    return portProblems_->text();
}

void StatusStrip::SetTextProblem(const QString& text) {
    textProblem_->setText(text);
}

bool StatusStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bar_ && event->type() == QEvent::Resize) {
        setGeometry(bar_->rect());
    }
    return QWidget::eventFilter(watched, event);
}
