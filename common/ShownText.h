#pragma once

#include <QString>
#include <QStringView>

// Text from outside (a file's field, an argument, a folder's name) as a message or a log line
// shows it. A control character could break the line, cut a listing short or drive the
// terminal, and a bidirectional embedding, override or isolate turns the text after it around;
// each is written as an escape instead: \t, \n, \r, \e, \xHH for the other control characters,
// \uHHHH for the line and paragraph separators and the bidirectional controls. The joiners and
// the direction marks of Persian text stay as they are.
QString EscapedText(QStringView text);

// Which of the characters EscapedText escapes c is; None for one it shows as it is.
enum class EscapedKind { None, Control, LineSeparator, BidiControl };
EscapedKind EscapedKindOf(char16_t c);

// Where the text holds the first character EscapedText escapes; -1 when none.
qsizetype FirstEscapedAt(QStringView text);

// A value quoted in a message: escaped, and cut after about limit characters, with "..." where
// it was cut, so that a long value does not bury the message.
constexpr qsizetype ShownValueLength = 60;
QString ShownValue(QStringView value, qsizetype limit = ShownValueLength);
