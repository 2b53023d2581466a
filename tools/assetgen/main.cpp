// assetgen: draws the game's pictures, synthesises its sounds and writes its music at build time.
#include "asset_lists.h"
#include "contact_sheet.h"
#include "music/music_modules.h"
#include "preview_scenes.h"
#include "sound/sound_effects.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using vm::assetgen::TArtList;

int Usage()
{
    std::fprintf(
        stderr,
        "usage: assetgen [--out DIR] [--sheet FILE.png]\n"
        "  --out DIR        write DIR/Data/data1.vil, DIR/Data/data2.vil and DIR/Sounds/*\n"
        "  --sheet FILE.png draw every picture with its key and patterns, for review\n"
        "  --keys K1,K2,...  only these keys on the sheet\n"
        "  --preview DIR    compose the road, the race HUD and the main menu as the game lays them out\n");
    return 2;
}

double SecondsSince(std::chrono::steady_clock::time_point Start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// Prints the reason a step failed; returns false so a step can end with it.
bool Fail(const std::string& Error)
{
    std::fprintf(stderr, "assetgen: %s\n", Error.c_str());
    return false;
}

bool WriteAll(const std::filesystem::path& OutDir, const TArtList& Menu, const TArtList& Race)
{
    std::error_code Ec;
    std::filesystem::create_directories(OutDir / "Data", Ec);
    std::filesystem::create_directories(OutDir / "Sounds", Ec);
    std::string Error;
    if (!vm::assetgen::WriteImageList(Menu, (OutDir / "Data" / "data1.vil").string(), Error) ||
        !vm::assetgen::WriteImageList(Race, (OutDir / "Data" / "data2.vil").string(), Error))
        return Fail(Error);
    auto Start = std::chrono::steady_clock::now();
    if (!vm::assetgen::WriteSoundEffects(OutDir / "Sounds", Error))
        return Fail(Error);
    std::printf("assetgen: sounds %.2f s\n", SecondsSince(Start));
    Start = std::chrono::steady_clock::now();
    if (!vm::assetgen::WriteMusicModules(OutDir / "Sounds", Error))
        return Fail(Error);
    std::printf("assetgen: music %.2f s\n", SecondsSince(Start));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::string OutDir;
    std::string SheetFile;
    std::string SheetKeys;
    std::string PreviewDir;
    for (int I = 1; I < argc; ++I)
    {
        if (std::strcmp(argv[I], "--out") == 0 && I + 1 < argc)
            OutDir = argv[++I];
        else if (std::strcmp(argv[I], "--sheet") == 0 && I + 1 < argc)
            SheetFile = argv[++I];
        else if (std::strcmp(argv[I], "--preview") == 0 && I + 1 < argc)
            PreviewDir = argv[++I];
        else if (std::strcmp(argv[I], "--keys") == 0 && I + 1 < argc)
            SheetKeys = argv[++I];
        else
            return Usage();
    }
    if (OutDir.empty() && SheetFile.empty() && PreviewDir.empty())
        return Usage();

    const auto Start = std::chrono::steady_clock::now();
    TArtList Menu = vm::assetgen::BuildMenuList();
    TArtList Race = vm::assetgen::BuildRaceList();
    std::printf("assetgen: pictures %.2f s\n", SecondsSince(Start));
    if (!OutDir.empty() && !WriteAll(OutDir, Menu, Race))
        return 1;
    std::string Error;
    if (!PreviewDir.empty() && !vm::assetgen::WritePreviews(Menu, Race, PreviewDir, Error))
    {
        Fail(Error);
        return 1;
    }
    if (!SheetKeys.empty())
    {
        vm::assetgen::KeepKeys(Menu, SheetKeys);
        vm::assetgen::KeepKeys(Race, SheetKeys);
    }
    if (!SheetFile.empty() && !vm::assetgen::WriteContactSheet(Menu, Race, SheetFile, Error))
    {
        Fail(Error);
        return 1;
    }
    std::printf("assetgen: done in %.2f s\n", SecondsSince(Start));
    return 0;
}
