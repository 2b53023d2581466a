// What the game and the high-score server agree on: the endpoint's path, the product name, the
// fixed key letter and the shape of the score text.
#pragma once

#include <string_view>

namespace vm {

// The script path the game asks for and the server answers.
inline constexpr std::string_view ScoreEndpointPath = "/cgi/version.pl";
// Where the game uploads a submitted run's recording: POST, the recording's bytes as the body,
// "?prg=<ScoreProduct>&token=<the submission's token>". The reply is "OK verified",
// "OK unverified: <reason>" or "ERR <reason>".
inline constexpr std::string_view ReplayUploadPath = "/cgi/replay";
// The value of the query key "prg".
inline constexpr std::string_view ScoreProduct = "Velomarch";
// The one-character "key" field of every score text.
inline constexpr char ScoreKeyLetter = 'V';

// The score text, before EncodeLine:
//   "type=0|name=<name>|score=<decimal>|key=<ScoreKeyLetter>|p=<token>|add=<online name>|z="
// followed by "0"s up to a multiple of 5 characters. The version reply is
//   "OK|<server version>|<message of the day>|<reserved>|<token>|".

} // namespace vm
