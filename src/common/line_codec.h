// The line encoding of the settings files and of the online score text: any bytes become a line
// over a 32-character alphabet, five bits a character. Shared by the game and the score server.
#pragma once

#include <string>
#include <string_view>

namespace vm {

// Position p of the table stands for the 5-bit value p. Files and score texts written with one
// table can only be read with the same table: never change it.
inline constexpr std::string_view LineAlphabet = "Q7KX2MWF9RZ4TB5HJN3CV8YD6LPG0SEA";

// Every byte as 8 bits (most significant first), "0"s in front to a multiple of 5 bits, each
// group of 5 bits as a character of LineAlphabet. "abcde" gives 8 characters, "" gives "".
std::string EncodeLine(std::string_view Text);

// The reverse: each character of LineAlphabet gives its 5 bits (other characters give nothing),
// "0"s in front to a multiple of 8 bits, each group of 8 bits one byte. A text whose length is a
// multiple of 5 comes back exactly; shorter texts come back with zero bytes in front.
std::string DecodeLine(std::string_view Line);

} // namespace vm
