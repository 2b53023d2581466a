// The recipe of every sound effect: each returns the raw signal, before levelling and edge fades.
#pragma once

#include "sound/synth.h"

namespace vm::assetgen::recipes {

using synth::TSignal;

// Interface sounds (sound_interface.cpp).
TSignal BackClick();
TSignal ConfirmClick();
TSignal StartLightBeep();
TSignal GreenLightBeep();
TSignal ClockTick();
TSignal TimesUpBuzzer();

// Musical stings and pickup chimes (sound_chimes.cpp).
TSignal StartSting();
TSignal FinishFanfare();
TSignal CoinPickup();
TSignal RepairKit();
TSignal ExtraTime();
TSignal ExtraLife();

// Car sounds (sound_car.cpp).
TSignal SpikePuncture();
TSignal Explosion();
TSignal NitroWhoosh();
TSignal TyreSkid();
TSignal CarHorn();

// Seamless engine loops (sound_engine_loops.cpp).
TSignal EngineIdleLoop();
TSignal EngineHighLoop();

} // namespace vm::assetgen::recipes
