// Every wait for keys to go down or up: polls the keys (and so presents the
// current picture, paced like a frame) until `done` holds. A wait that must
// see fresh keys before its first test polls once at the start; one that may
// already be over tests first and takes no poll at all when it is. What ends
// a wait is the caller's test alone: F12 ends only the waits that test it.
#pragma once

enum class FirstPoll { kAlways, kOnlyIfWaiting };

void waitForKeys(bool (*done)(), FirstPoll firstPoll);
