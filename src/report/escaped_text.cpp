#include "report/escaped_text.hpp"

namespace adequacy::report {
namespace {

bool isControl(unsigned char byte) { return byte < 0x20 || byte == 0x7f; }

void appendHex(std::string& out, unsigned char byte) {
    static constexpr char hex[] = "0123456789abcdef";
    out.append("\\x").push_back(hex[byte >> 4]);
    out.push_back(hex[byte & 0xf]);
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// (overlong forms, surrogates and code points above U+10FFFF are not).
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!isContinuation(byte(i))) return 0;
    return length;
}

}  // namespace

std::string withControlsEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (isControl(byte))
            appendHex(out, byte);
        else
            out.push_back(c);
    }
    return out;
}

std::string asUtf8(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0) {
            appendHex(out, static_cast<unsigned char>(text.front()));
            text.remove_prefix(1);
        } else {
            out.append(text.substr(0, length));
            text.remove_prefix(length);
        }
    }
    return out;
}

bool holdsControls(std::string_view text) {
    for (char c : text)
        if (isControl(static_cast<unsigned char>(c))) return true;
    return false;
}

}  // namespace adequacy::report
