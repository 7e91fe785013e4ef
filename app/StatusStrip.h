#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QStatusBar;

// The texts of the status bar: the status, the port problems and the text-setting problem. The
// bar is 17 pixels high, as designed. QStatusBar keeps 5 of them above and below its widgets and
// would cut the descenders off the texts, so the texts stand in a strip of their own over the
// whole bar. The strip gives way, whole, while the bar shows a message of its own (a control's
// hint, the folder note), so that one message shows at a time.
class StatusStrip : public QWidget {
    Q_OBJECT

public:
    explicit StatusStrip(QStatusBar* bar);

    void SetText(const QString& text);
    QString Text() const;
    // The bar shows each problem's short words; its tooltip holds every problem whole.
    void SetPortProblems(const QStringList& shortWords, const QStringList& whole);
    QString PortProblemText() const;
    void SetTextProblem(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStatusBar* bar_;
    QLabel* text_ = nullptr;
    QLabel* portProblems_ = nullptr;
    QLabel* textProblem_ = nullptr;
};
