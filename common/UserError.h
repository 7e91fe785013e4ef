#pragma once

#include "common/Problem.h"

#include <QString>
#include <stdexcept>
#include <utility>

// A failure the user must see: a problem with its kind and values (common/Problem.h), worded
// where it is shown. The window shows it in Persian in a message box and skips the rest of the
// handler; the command line prints it and exits with its kind's status. what() and Text() hold
// its English words.
class UserError : public std::runtime_error {
public:
    explicit UserError(Problem problem)
        : std::runtime_error(ProblemText(problem, Wording::English).toStdString()),
          problem_(std::move(problem)), text_(QString::fromStdString(what())) {}
    // A message that has no kind of its own yet: kind "other", its words as they stand.
    explicit UserError(const QString& text)
        : UserError(Problem(QStringLiteral("other")).Set(QStringLiteral("text"), text)) {}

    const Problem& Reported() const { return problem_; }
    const QString& Text() const { return text_; }

private:
    Problem problem_;
    QString text_;
};
