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

// A complete UTF-8 HTML document listing the rows in the order given, ranked from 1.
std::string RenderScorePage(const std::vector<TScoreRow>& Rows);

} // namespace vm::scored
