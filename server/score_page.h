// The HTML page of the online score table.
#pragma once

#include "score_store.h"

#include <string>
#include <string_view>
#include <vector>

namespace vm::scored {

// The text with &, <, >, " and ' replaced by character references: safe in element text and in
// quoted attribute values.
std::string EscapeHtml(std::string_view Text);

// A complete UTF-8 HTML document listing the rows in the order given, ranked from 1. Which says
// what the rows are: the verified ones (with a link to all), or all (each marked).
std::string RenderScorePage(const std::vector<TScoreRow>& Rows, ERows Which = ERows::Verified);

} // namespace vm::scored
