// Windows-1256 through glibc's iconv (its gconv module CP1256), which knows the same 256
// characters as Windows' own table.
#include "files/CodePage1256.h"

#include <bit>
#include <cerrno>
#include <iconv.h>

namespace files {

namespace {

const char* const CodePage = "WINDOWS-1256";
const char* const Utf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One conversion's state, opened for each call so that threads never share one.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {
        if (handle_ == Invalid()) {
            throw ConverterMissing();
        }
    }
    ~Converter() { ::iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of in into out, which has room for it; false at a character the target
    // lacks, with in left at it.
    bool Convert(char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        return ::iconv(handle_, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    }

    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }

private:
    iconv_t handle_;
};

} // namespace

bool Windows1256Available() {
    for (const auto& [to, from] : {std::pair{CodePage, Utf16}, std::pair{Utf16, CodePage}}) {
        const iconv_t handle = ::iconv_open(to, from);
        if (handle == Converter::Invalid()) {
            return false;
        }
        ::iconv_close(handle);
    }
    return true;
}

std::string Windows1256Remedy() {
    return "install Debian's libc6 again, whose gconv modules convert it, and leave GCONV_PATH "
           "unset";
}

std::u16string DecodeWindows1256(std::string_view bytes) {
    Converter converter(Utf16, CodePage);
    std::u16string text(bytes.size(), u'\0');   // one character for every byte
    char* in = const_cast<char*>(bytes.data()); // iconv's signature; it only reads
    std::size_t inLeft = bytes.size();
    char* out = reinterpret_cast<char*>(text.data());
    std::size_t outLeft = text.size() * sizeof(char16_t);
    // A converter that refuses one of the 256 bytes is no Windows-1256 converter.
    if (!converter.Convert(in, inLeft, out, outLeft) || outLeft != 0) {
        throw ConverterMissing();
    }
    return text;
}

std::string EncodeWindows1256(std::u16string_view text) {
    Converter converter(CodePage, Utf16);
    std::string bytes(text.size(), '\0'); // at most one byte for every UTF-16 unit
    char* const start = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
    char* in = start;
    std::size_t inLeft = text.size() * sizeof(char16_t);
    char* out = bytes.data();
    std::size_t outLeft = bytes.size();
    if (!converter.Convert(in, inLeft, out, outLeft)) {
        if (errno == E2BIG) {
            throw ConverterMissing(); // more than a byte a character: not this code page
        }
        const auto position = static_cast<std::size_t>(in - start) / sizeof(char16_t);
        throw Unmappable(position, CodePointAt(text, position));
    }
    bytes.resize(bytes.size() - outLeft);
    return bytes;
}

} // namespace files
