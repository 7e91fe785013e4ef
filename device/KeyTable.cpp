#include "device/KeyTable.h"

#include "common/SizeLimits.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "files/InputFile.h"

#include <QByteArrayView>
#include <algorithm>
#include <span>

namespace {

// Only the first 16 converted bytes reach a slot, so the first 32 characters of a line decide
// it; a line is a key at all when it is longer than 31 characters.
constexpr qsizetype KeyLineLength = 2 * KeySlotSize;
constexpr qint64 ChunkSize = qint64{64} * 1024;
constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF"); // an editor's byte-order mark is no key text

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Converts leading pairs of hex digits, high digit first, until a pair is not one.
void FillSlot(std::span<std::uint8_t, KeySlotSize> slot, QByteArrayView head) {
    const qsizetype count = std::min(static_cast<qsizetype>(KeySlotSize), head.size() / 2);
    for (qsizetype i = 0; i < count; ++i) {
        const int high = HexValue(head[2 * i]);
        const int low = HexValue(head[2 * i + 1]);
        if (high < 0 || low < 0) {
            return;
        }
        slot[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(high << 4 | low);
    }
}

// Splits the file into lines as it is read, keeping of each line only its start and length, so
// that neither a huge file nor a huge line is held in memory.
class KeyLines {
public:
    explicit KeyLines(KeyTable& table) : table_(table) {}

    bool Full() const { return line_ >= KeySlotCount; }

    void Feed(QByteArrayView bytes) {
        for (char c : bytes) {
            if (Full()) {
                return;
            }
            if (c == '\n') {
                EndLine();
                continue;
            }
            if (head_.size() < KeyLineLength) {
                head_ += c;
            }
            ++length_;
            lastWasCarriageReturn_ = c == '\r';
        }
    }

    // The last line needs no line end.
    void Finish() {
        if (!Full() && length_ > 0) {
            EndLine();
        }
    }

private:
    void EndLine() {
        const qint64 length = length_ - (lastWasCarriageReturn_ ? 1 : 0);
        if (length >= KeyLineLength) {
            FillSlot(std::span<std::uint8_t, KeySlotSize>(table_.data() + line_ * KeySlotSize,
                                                          KeySlotSize),
                     head_);
        }
        ++line_;
        head_.clear();
        length_ = 0;
        lastWasCarriageReturn_ = false;
    }

    KeyTable& table_;
    int line_ = 0;
    QByteArray head_;
    qint64 length_ = 0;
    bool lastWasCarriageReturn_ = false;
};

} // namespace

KeyTable ParseKeyTable(QByteArrayView bytes) {
    KeyTable table;
    table.fill(0xFF);
    KeyLines lines(table);
    if (bytes.startsWith(Utf8Mark)) {
        bytes = bytes.sliced(Utf8Mark.size());
    }
    lines.Feed(bytes);
    lines.Finish();
    return table;
}

KeyTable LoadKeyTable(const QString& path) {
    try {
        files::InputFile file(FilePath(path));
        KeyTable table;
        table.fill(0xFF);
        KeyLines lines(table);
        QByteArray chunk(ChunkSize, Qt::Uninitialized);
        std::size_t total = 0;
        bool first = true;
        while (!lines.Full()) {
            // One byte beyond the bound tells a file that is too long from one that just fits.
            const std::size_t step =
                std::min(static_cast<std::size_t>(ChunkSize), SettingsFileSizeLimit + 1 - total);
            const std::size_t got = file.Read(chunk.data(), step);
            if (got == 0) {
                break;
            }
            total += got;
            QByteArrayView bytes(chunk.constData(), static_cast<qsizetype>(got));
            if (first && bytes.startsWith(Utf8Mark)) {
                bytes = bytes.sliced(Utf8Mark.size());
            }
            first = false;
            lines.Feed(bytes);
            if (total > SettingsFileSizeLimit && !lines.Full()) {
                Problem tooLarge = TooLargeProblem(path, SettingsFileSizeLimit);
                tooLarge.Form = QStringLiteral("key-table");
                throw UserError(tooLarge.Set(QStringLiteral("lines"), KeySlotCount)
                                    .Set(QStringLiteral("kib"),
                                         static_cast<qint64>(SettingsFileSizeLimit >> 10)));
            }
        }
        lines.Finish();
        return table;
    } catch (const files::FileError& error) {
        throw UserError(FileProblem(error, path, FileUse::Read));
    }
}
