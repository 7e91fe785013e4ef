#include "common/TextDisplay.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <array>

namespace {

// Common letters and the four that only Persian has (peh, tcheh, jeh, gaf), with keheh and
// Farsi yeh.
constexpr std::array<char32_t, 8> PersianLetters = {0x0627, 0x0628, 0x067E, 0x0686,
                                                    0x0698, 0x06A9, 0x06AF, 0x06CC};

} // namespace

QFont WindowFont() {
    const QStringList families = QFontDatabase::families();
    QFont font(families.contains(QStringLiteral("Tahoma")) ? QStringLiteral("Tahoma")
                                                           : QStringLiteral("Noto Sans Arabic UI"));
    font.setPixelSize(11);
    return font;
}

bool FontCoversPersian(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const char32_t letter : PersianLetters) {
        if (!metrics.inFontUcs4(letter)) {
            return false;
        }
    }
    return true;
}
