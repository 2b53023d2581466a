// A race world over a real sprite engine and the game's real image lists, for the car tests.
#pragma once

#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"
#include "engine/random.h"
#include "engine/sprite_engine.h"
#include "state/game_state.h"
#include "support/test_support.h"
#include "world/catalogue.h"
#include "world/race_world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>

namespace vm::test {

class RaceFixture : public ::testing::Test
{
protected:
    RaceFixture()
    {
        Messages = std::make_unique<TMessageRecorder>();
        Engine = std::make_unique<TSpriteEngine>(Messages.get());
        GameLoaded = GameImages.LoadFromFile(::test::AssetPath("Data/data2.vil"), Messages.get());
        MenuLoaded = MenuImages.LoadFromFile(::test::AssetPath("Data/data1.vil"), Messages.get());
        Catalogues.InitCars();
        State.ScreenState = ssRace;
        World = std::make_unique<TRaceWorld>(*Engine, GameImages, MenuImages, Rng, State, Catalogues);
    }

    void SetUp() override
    {
        ASSERT_TRUE(GameLoaded);
        ASSERT_TRUE(MenuLoaded);
    }

    // Checkpoints 1..Count at the given points; distances from checkpoint 1 in tenths of a pixel.
    void SetCheckpoints(std::initializer_list<std::pair<double, double>> Points)
    {
        int I = 0;
        double Distance = 0;
        for (const auto& [Px, Py] : Points)
        {
            ++I;
            if (I > 1)
                Distance +=
                    std::hypot(Px - World->FCheckpoints[I - 1].X, Py - World->FCheckpoints[I - 1].Y) / 10;
            World->FCheckpoints[I] = {Px, Py, I};
            World->FCheckpointDistance[I] = Distance;
        }
        World->FCheckpointCount = I;
    }

    void Press(int Key) { State.KeyHeld[static_cast<std::size_t>(Key)] = 1; }
    void Release(int Key)
    {
        State.KeyHeld[static_cast<std::size_t>(Key)] = 0;
        State.KeyReleased[static_cast<std::size_t>(Key)] = 1;
    }

    TImageList GameImages;
    TImageList MenuImages;
    bool GameLoaded = false, MenuLoaded = false;
    TRandom Rng{7};
    TGameState State;
    TCatalogues Catalogues;
    // Declared after the lists so that the sprites go before the images they point at.
    std::unique_ptr<TMessageRecorder> Messages;
    std::unique_ptr<TSpriteEngine> Engine;
    std::unique_ptr<TRaceWorld> World;
};

} // namespace vm::test
