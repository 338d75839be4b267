// The tests in this folder act between the game's polls: the program is linked
// so that every keyboard_update first calls beforeEachPoll, when set.
#pragma once

extern void (*beforeEachPoll)();
