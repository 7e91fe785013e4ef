#pragma once

#include <QString>
#include <stdexcept>

// A failure the user must see: what() is the exact text to show. The window shows it in a
// message box and skips the rest of the handler; the command line prints it and exits non-zero.
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& Text() const { return text_; }

private:
    QString text_;
};
