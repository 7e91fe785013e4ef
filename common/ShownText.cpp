#include "common/ShownText.h"

#include <limits>

namespace {

bool IsBidiControl(char16_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool Escaped(char16_t c) {
    return EscapedKindOf(c) != EscapedKind::None;
}

QString EscapeOf(char16_t c) {
    switch (c) {
    case u'\t':
        return QStringLiteral("\\t");
    case u'\n':
        return QStringLiteral("\\n");
    case u'\r':
        return QStringLiteral("\\r");
    case 0x1B:
        return QStringLiteral("\\e");
    default:
        break;
    }
    const bool byte = c <= 0xFF;
    const QString digits = QString::number(unsigned{c}, 16).toUpper();
    return (byte ? QStringLiteral("\\x") : QStringLiteral("\\u")) +
           digits.rightJustified(byte ? 2 : 4, u'0');
}

} // namespace

EscapedKind EscapedKindOf(char16_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
        return EscapedKind::Control;
    }
    if (c == 0x2028 || c == 0x2029) {
        return EscapedKind::LineSeparator;
    }
    return IsBidiControl(c) ? EscapedKind::BidiControl : EscapedKind::None;
}

qsizetype FirstEscapedAt(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (Escaped(text[i].unicode())) {
            return i;
        }
    }
    return -1;
}

QString EscapedText(QStringView text) {
    if (FirstEscapedAt(text) < 0) {
        return text.toString();
    }
    return ShownValue(text, std::numeric_limits<qsizetype>::max());
}

QString ShownValue(QStringView value, qsizetype limit) {
    QString shown;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (shown.size() >= limit) {
            return shown + QStringLiteral("...");
        }
        const char16_t c = value[i].unicode();
        if (Escaped(c)) {
            shown += EscapeOf(c);
            continue;
        }
        shown += value[i];
        // A character beyond the first plane is kept whole.
        if (value[i].isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            shown += value[++i];
        }
    }
    return shown;
}
