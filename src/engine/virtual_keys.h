// The virtual-key numbers of the keyboard: the platform maps its keys onto them, and the game and its
// widgets read them.
#pragma once

namespace vm {

// Letters and digits are their upper-case ASCII codes ('A', '0'); F1..F12 run on from vkF1.
enum TVirtualKey : int
{
    vkBack = 8,
    vkTab = 9,
    vkReturn = 13,
    vkShift = 16,
    vkControl = 17,
    vkAlt = 18,
    vkPause = 19,
    vkEscape = 27,
    vkSpace = 32,
    vkPageUp = 33,
    vkPageDown = 34,
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkInsert = 45,
    vkDelete = 46,
    vkNumpad0 = 96,
    vkNumpad1 = 97,
    vkNumpad2 = 98,
    vkNumpad3 = 99,
    vkNumpad4 = 100,
    vkNumpad5 = 101,
    vkNumpad6 = 102,
    vkNumpad7 = 103,
    vkNumpad8 = 104,
    vkNumpad9 = 105,
    vkMultiply = 106, // the keypad's keys
    vkAdd = 107,
    vkSubtract = 109,
    vkDecimal = 110,
    vkDivide = 111,
    vkF1 = 112,
};

} // namespace vm
