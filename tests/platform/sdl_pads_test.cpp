// Game controllers through SDL: the player's extra mappings make a plain joystick a pad, whose
// buttons then reach the game as pad buttons; a mappings file SDL cannot use is told.
#include "engine/clock.h"
#include "engine/null_render_device.h"
#include "engine/pad_input.h"
#include "pages/page_rows.h"
#include "platform/sdl/sdl_pads.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vm {
namespace {

class SdlPadsTest : public ::testing::Test
{
protected:
    SdlPadsTest() : Game(TGamePlatform{Device, Clock, Sound, Messages, Data.Path().string()}, GamePages()) {}
    ~SdlPadsTest() override
    {
        if (Stick != nullptr)
            SDL_JoystickClose(Stick);
        for (int I = SDL_NumJoysticks() - 1; I >= 0; --I)
            if (SDL_JoystickIsVirtual(I))
                SDL_JoystickDetachVirtual(I);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    // A plain virtual joystick with four buttons and two axes, which SDL does not know as a pad.
    std::string AttachPlainStick()
    {
        EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc Desc;
        SDL_zero(Desc);
        Desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        Desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        Desc.naxes = 2;
        Desc.nbuttons = 4;
        Desc.name = "Plain stick";
        Desc.vendor_id = 0x1234;
        Desc.product_id = 0x5678;
        const int Index = SDL_JoystickAttachVirtualEx(&Desc);
        EXPECT_GE(Index, 0) << SDL_GetError();
        Stick = SDL_JoystickOpen(Index);
        char Guid[64] = {};
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(Index), Guid, sizeof Guid);
        return Guid;
    }

    void Write(const std::string& Name, const std::string& Text)
    {
        std::ofstream Out(Data.File(Name));
        Out << Text;
    }

    // Hands every controller event SDL has to the game.
    void Deliver(TSdlPads& Pads)
    {
        SDL_PumpEvents();
        SDL_Event Event;
        while (SDL_PeepEvents(&Event, 1, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_FINGERDOWN - 1) == 1)
            Pads.HandleEvent(Event, Game);
    }

    test::TTempDir Data;
    TNullRenderDevice Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    test::TMessageRecorder Messages;
    TGame Game;
    SDL_Joystick* Stick = nullptr;
};

TEST_F(SdlPadsTest, ThePlayersMappingMakesAPlainJoystickAPadWhoseButtonsReachTheGame)
{
    const std::string Guid = AttachPlainStick();
    {
        TSdlPads Without;
        std::string Problem;
        ASSERT_TRUE(Without.Open(Data.File("none.txt"), Problem)) << Problem;
        Without.OpenConnected(Game);
        EXPECT_EQ(Without.Count(), 0);
    }
    Write("gamecontrollerdb.txt", "# the player's own\n" + Guid +
                                      ",Plain stick,a:b2,b:b3,start:b0,leftx:a0,lefty:a1,platform:Linux,\n");
    TSdlPads Pads;
    std::string Problem;
    ASSERT_TRUE(Pads.Open(Data.File("gamecontrollerdb.txt"), Problem)) << Problem;
    Pads.OpenConnected(Game);
    Deliver(Pads);
    ASSERT_EQ(Pads.Count(), 1);
    EXPECT_EQ(Game.PadCount(), 1);

    Game.State.ScreenState = ssMainMenu;
    SDL_JoystickSetVirtualButton(Stick, 2, 1);
    Deliver(Pads);
    SDL_JoystickSetVirtualButton(Stick, 2, 0);
    Deliver(Pads);
    EXPECT_TRUE(Game.State.LastInputPad);
    EXPECT_TRUE(Game.State.TakeReleased(vkReturn)) << "raw button 2 is the pad's A, Enter on a page";

    Game.State.ScreenState = ssRace;
    SDL_JoystickSetVirtualAxis(Stick, 0, 32767);
    Deliver(Pads);
    EXPECT_TRUE(Game.State.Held(acSteerRight));
    // Pulled out: the game lets go and the race asks to pause.
    SDL_JoystickClose(Stick);
    Stick = nullptr;
    SDL_JoystickDetachVirtual(0);
    Deliver(Pads);
    EXPECT_EQ(Pads.Count(), 0);
    EXPECT_FALSE(Game.State.Held(acSteerRight));
    EXPECT_TRUE(Game.State.PauseRequested);
}

TEST_F(SdlPadsTest, AMappingsFileThatCannotBeUsedIsToldAndPadsStillWork)
{
    Write("garbage.txt", "this is not a mapping\nnor,is,this\n");
    std::string Problem;
    {
        TSdlPads Pads;
        EXPECT_FALSE(Pads.Open(Data.File("garbage.txt"), Problem));
        EXPECT_NE(Problem.find("garbage.txt"), std::string::npos) << Problem;
    }
    // A folder where the file should be.
    std::filesystem::create_directories(Data.Path() / "folder.txt");
    TSdlPads Pads;
    EXPECT_FALSE(Pads.Open(Data.File("folder.txt"), Problem));
    EXPECT_NE(Problem.find("not a file"), std::string::npos) << Problem;
    // Only comments: nothing to tell.
    Write("comments.txt", "# nothing yet\n\n");
    TSdlPads Quiet;
    EXPECT_TRUE(Quiet.Open(Data.File("comments.txt"), Problem)) << Problem;
}

} // namespace
} // namespace vm
