// cp932 text handling: conversion to and from UTF-8 and cutting a text to the
// byte capacity of a slot without splitting a double-byte character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qrn {

// True for a byte that starts a double-byte cp932 character.
constexpr bool isCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the longest prefix of `bytes` that fits in `capacity`
// bytes and does not end in the middle of a double-byte character.
std::size_t cp932CutLength(std::string_view bytes, std::size_t capacity);
inline std::string_view cutCp932(std::string_view bytes, std::size_t capacity) {
    return bytes.substr(0, cp932CutLength(bytes, capacity));
}

// cp932 bytes to UTF-8; nullopt when the bytes are not valid cp932.
std::optional<std::string> cp932ToUtf8(std::string_view cp932);
// cp932 bytes to UTF-8 for display: invalid bytes become U+FFFD, never fails.
std::string cp932ToUtf8Lossy(std::string_view cp932);
// UTF-8 to cp932; nullopt when the text holds a character cp932 cannot hold
// or is not valid UTF-8.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

// A literal written in UTF-8 in the source, converted once; for the editor's
// own fixed texts (default names) that are known to be representable.
std::string cp932Literal(std::string_view utf8);

}  // namespace qrn
