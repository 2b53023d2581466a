// assetgen: draws the game's pictures, synthesises its sounds and writes its music at build time.
#include "asset_lists.h"
#include "common/command_line.h"
#include "contact_sheet.h"
#include "icon_files.h"
#include "music/music_modules.h"
#include "preview_scenes.h"
#include "sound/sound_effects.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using vm::assetgen::TArtList;

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

int main(int Argc, char** Argv)
{
    std::string OutDir;
    std::string SheetFile;
    std::string SheetKeys;
    std::string PreviewDir;
    std::string IconDir;
    vm::TCommandLine CommandLine(
        "assetgen",
        "assetgen --out DIR\n"
        "assetgen --sheet FILE.png [--keys K1,K2,...]\n"
        "assetgen --preview DIR\n"
        "assetgen --icons DIR",
        "Makes every picture, sound and music module of the game, and its desktop icon,\n"
        "from code; the kinds of output may be asked for together.");
    CLI::App& App = CommandLine.App();
    App.add_option("--out", OutDir, "write DIR/Data/data1.vil, data2.vil and DIR/Sounds/*")->type_name("DIR");
    App.add_option("--sheet", SheetFile, "a contact sheet of every picture with its key and patterns")
        ->type_name("FILE.png");
    App.add_option("--keys", SheetKeys, "only these keys on the sheet")->type_name("K1,K2,...");
    App.add_option("--preview", PreviewDir, "the road, the race HUD and the main menu composed for review")
        ->type_name("DIR");
    App.add_option("--icons", IconDir,
                   "the desktop icon at every size, as DIR/hicolor/NxN/apps/velomarch.png")
        ->type_name("DIR");
    App.callback([&] {
        if (OutDir.empty() && SheetFile.empty() && PreviewDir.empty() && IconDir.empty())
            throw CLI::ValidationError("nothing to make: give --out, --sheet, --preview or --icons");
    });
    if (const auto Status = CommandLine.Run(Argc, Argv))
        return *Status;

    const auto Start = std::chrono::steady_clock::now();
    std::string Error;
    if (!IconDir.empty())
    {
        if (!vm::assetgen::WriteAppIcons(IconDir, Error))
        {
            Fail(Error);
            return 1;
        }
        std::printf("assetgen: icons %.2f s\n", SecondsSince(Start));
        if (OutDir.empty() && SheetFile.empty() && PreviewDir.empty())
            return 0;
    }
    TArtList Menu = vm::assetgen::BuildMenuList();
    TArtList Race = vm::assetgen::BuildRaceList();
    std::printf("assetgen: pictures %.2f s\n", SecondsSince(Start));
    if (!OutDir.empty() && !WriteAll(OutDir, Menu, Race))
        return 1;
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
