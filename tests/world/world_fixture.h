// Shared set-up of the race-world tests: an engine, the game's real race image list, a seeded random
// generator and an empty race world, plus helpers to find the sprites a test made.
#pragma once

#include "engine/image_list.h"
#include "engine/random.h"
#include "engine/sprite_engine.h"
#include "state/game_state.h"
#include "world/catalogue.h"
#include "world/race_world.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vm::test {

class WorldTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Images.LoadFromFile(std::string(VM_ASSET_DIR) + "/Data/data2.vil"));
        ASSERT_NE(Images.ImageList.Find("r_str"), nullptr);
        State.ScreenState = ssRace;
        InitPieceOffsets(World.Course);
    }

    // Every live sprite of class T in creation order: the sprites of one class share a Z, and the
    // engine puts a new sprite before those of equal Z, so its order is walked backwards.
    template <class T> std::vector<T*> All() const
    {
        std::vector<T*> Result;
        for (int I = Engine.Count() - 1; I >= 0; --I)
            if (auto* Sprite = dynamic_cast<T*>(Engine.Sprites(I)); Sprite != nullptr && !Sprite->IsDead())
                Result.push_back(Sprite);
        return Result;
    }

    TSpriteEngine Engine;
    TImageList Images{nullptr};
    TImageList MenuImages{nullptr};
    TRandom Rng{12345};
    TGameState State;
    TCatalogues Catalogues;
    TRaceWorld World{Engine, Images, MenuImages, Rng, State, Catalogues};
};

} // namespace vm::test
