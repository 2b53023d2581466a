// The online score table as JSON, for other clients and for tests.
#pragma once

#include "score_store.h"

#include <string>
#include <vector>

namespace vm::scored {

// {"scores": [{"rank": 1, "name": ..., "score": ..., "online_name": ..., "time": "2026-12-07T21:39:45Z",
// "verified": true}, ...]} in the order given, ranked from 1. The client's address is not shown. Names are
// stored as bytes: any that are not UTF-8 are written with U+FFFD in their place.
std::string RenderScoreJson(const std::vector<TScoreRow>& Rows);

// The rows a "limit" parameter asks for: a whole number 1..Most in decimal; 0 when it is anything else.
int ParseScoreLimit(const std::string& Text, int Most);

} // namespace vm::scored
