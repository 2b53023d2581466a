// The menu page pictures: help, options, questions, profiles, high scores, the track and car
// pages and the track previews.
#include "art/art_modules.h"
#include "art/menu_page_parts.h"

namespace vm::assetgen {

void AddMenuPages(TArtList& Menu)
{
    AddHelpPages(Menu);
    AddDialogPages(Menu);
    AddChoicePages(Menu);
    AddTrackPreviews(Menu);
}

} // namespace vm::assetgen
