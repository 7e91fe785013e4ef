#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

// An edit box with its caption on its right, 3 pixels away. The caption is a sibling label
// that follows the edit's position, visibility and enabled state.
class LabeledEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor captionColor READ captionColor WRITE setCaptionColor)

public:
    static constexpr int CaptionSpacing = 3;

    explicit LabeledEdit(QWidget* parent = nullptr);
    ~LabeledEdit() override;

    QString caption() const;
    void setCaption(const QString& text);
    QColor captionColor() const;
    void setCaptionColor(const QColor& color);
    QLabel* captionLabel() const { return label_; }

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeCaption();

    QPointer<QLabel> label_;
};
