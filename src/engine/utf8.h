// UTF-8 text: decoding into code points and encoding them back. Invalid bytes never crash.
#pragma once

#include <cstddef>
#include <string>

namespace vm {

// Code points of Text. A byte that does not start a well-formed sequence (stray continuation
// bytes, overlong forms, surrogates, values above U+10FFFF, cut-off sequences) gives no
// character and decoding goes on at the next byte.
std::u32string DecodeUtf8(const std::string& Text);

// Appends the UTF-8 form of Code; surrogates and values above U+10FFFF append nothing.
void AppendUtf8(std::string& Out, char32_t Code);
std::string EncodeUtf8(const std::u32string& Codes);

// Number of characters DecodeUtf8 would give.
std::size_t Utf8Length(const std::string& Text);

} // namespace vm
