#pragma once
// A short text of N: one length byte followed by N bytes of Windows-1251 text.
// The bytes after the text are undefined and are carried along unchanged, so that a
// record read and written back without a change keeps every byte.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace pelorin {

#pragma pack(push, 1)
template <int N>
struct ShortText {
    static_assert(N > 0 && N <= 255);
    static constexpr int Capacity = N;

    std::uint8_t Len;
    char Data[N];

    // The text; a length byte larger than the field (a damaged file) is read as N.
    std::string str() const { return std::string(Data, length()); }
    std::string_view view() const { return std::string_view(Data, length()); }
    int length() const { return Len > N ? N : Len; }

    // Stores the first N characters of `text`; bytes after it are left as they were.
    void set(std::string_view text) {
        const std::size_t n = text.size() > std::size_t(N) ? std::size_t(N) : text.size();
        if (n) std::memcpy(Data, text.data(), n);
        Len = static_cast<std::uint8_t>(n);
    }

    bool operator==(std::string_view text) const { return view() == text; }
};
#pragma pack(pop)

static_assert(sizeof(ShortText<20>) == 21);

// `text` padded on the right with blanks (or cut) to exactly `width` characters.
inline std::string PadRight(std::string_view text, std::size_t width) {
    std::string s(text.substr(0, width));
    s.resize(width, ' ');
    return s;
}

// `text` cut to at most `width` characters.
inline std::string CutTo(std::string_view text, std::size_t width) {
    return std::string(text.substr(0, width));
}

}  // namespace pelorin
