// Writes the desktop icon at every theme size as a hicolor icon-theme folder.
#include "icon_files.h"

#include "art/app_icon.h"
#include "engine/picture.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace vm::assetgen {

std::filesystem::path AppIconFile(int Size)
{
    const std::string Dimensions = std::to_string(Size) + "x" + std::to_string(Size);
    return std::filesystem::path("hicolor") / Dimensions / "apps" / "velomarch.png";
}

bool WriteAppIcons(const std::filesystem::path& Dir, std::string& Error)
{
    for (const int Size : AppIconSizes)
    {
        const std::filesystem::path File = Dir / AppIconFile(Size);
        std::error_code Ec;
        std::filesystem::create_directories(File.parent_path(), Ec);
        std::vector<std::uint8_t> Png;
        if (!EncodePng(DrawAppIcon(Size), Png))
        {
            Error = "cannot encode the icon of " + std::to_string(Size) + " px";
            return false;
        }
        std::ofstream Out(File, std::ios::binary | std::ios::trunc);
        Out.write(reinterpret_cast<const char*>(Png.data()), static_cast<std::streamsize>(Png.size()));
        Out.close();
        if (!Out)
        {
            Error = "cannot write " + File.string();
            return false;
        }
    }
    return true;
}

} // namespace vm::assetgen
