// The build's generated picture lists on a null screen, loaded once, for benchmarks of races.
#pragma once

#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "engine/screen.h"

#include <string>

namespace test {

struct TGeneratedImageLists
{
    vm::TNullRenderDevice Device;
    vm::TStderrMessageBox Messages;
    vm::TScreen Screen{Device, Messages};
    vm::TImageList Game{&Screen}, Menu{&Screen};
    bool Ok = false; // both lists loaded

    // DataDir holds Data/data1.vil and Data/data2.vil.
    explicit TGeneratedImageLists(const std::string& DataDir)
    {
        Screen.Initialize();
        Ok = Game.LoadFromFile(DataDir + "/Data/data2.vil", &Messages) &&
             Menu.LoadFromFile(DataDir + "/Data/data1.vil", &Messages);
        Game.LoadTextures();
    }
};

} // namespace test
