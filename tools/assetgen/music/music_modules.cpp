// Writes the game's three music modules (menu, race, lose) as XM files.
#include "music/music_modules.h"

#include "music/tunes.h"
#include "music/xm_writer.h"

namespace vm::assetgen {

bool WriteMusicModules(const std::filesystem::path& SoundsDir, std::string& Error)
{
    using TBuild = bool (*)(TXmModule&, std::string&);
    const struct
    {
        const char* File;
        TBuild Build;
    } Tunes[] = {{"1.xm", BuildMenuTune}, {"2.xm", BuildRaceTune}, {"3.xm", BuildLoseTune}};
    for (const auto& Tune : Tunes)
    {
        TXmModule Module;
        if (!Tune.Build(Module, Error))
        {
            Error = std::string(Tune.File) + ": " + Error;
            return false;
        }
        if (!WriteXmFile(Module, SoundsDir / Tune.File, Error))
            return false;
    }
    return true;
}

} // namespace vm::assetgen
