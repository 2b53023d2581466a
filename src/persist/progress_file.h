// The progress file: score, what is unlocked, the next unlock threshold and the best times.
#pragma once

#include "world/catalogue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vm {

// Writes the progress file (the game's is "Configdat.cfg" in the working folder) through
// WriteFileAtomically. Returns false with the reason in Error; the old file then stays whole.
bool SaveProgress(const std::string& Path, std::int32_t Score, const TCatalogues& Catalogues,
                  std::string& Error);

// Reads the progress file over the defaults (called once at start-up, after the settings file),
// then calls Catalogues.SanitizeProgress(); the caller then calls OpenAvailable(). A missing file
// changes nothing and reports nothing. A damaged value (a negative score among them) keeps the
// current one and adds one line to Problems; a track's best time is taken only when all three of its lines
// are good.
void LoadProgress(const std::string& Path, std::int32_t& Score, TCatalogues& Catalogues,
                  std::vector<std::string>& Problems);

} // namespace vm
