// A game controller made with SDL's virtual joystick: every button and axis of
// SDL's controller layout, in that order, so SDL maps it as a controller.
#pragma once

#include <SDL2/SDL.h>

struct VirtualPad {
  SDL_Joystick* joystick = nullptr;
  SDL_JoystickID id = -1;

  // Plugs the pad in, triggers at rest. Needs SDL's joystick subsystem.
  void plugIn() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = "Kravix test pad";
    int device = SDL_JoystickAttachVirtualEx(&desc);
    joystick = SDL_JoystickOpen(device);
    id = SDL_JoystickInstanceID(joystick);
    trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0);
    trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  }
  void pull() {
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
      if (SDL_JoystickGetDeviceInstanceID(device) == id) {
        SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(device);
      }
    }
    joystick = nullptr;
  }
  void press(SDL_GameControllerButton button, bool down) const {
    SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
  }
  // A stick's axis at `percent` of its travel, -100 to 100.
  void stick(SDL_GameControllerAxis axis, int percent) const {
    SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(percent * 32767 / 100));
  }
  // A trigger pulled `percent` of its way: the joystick's whole range is the trigger's.
  void trigger(SDL_GameControllerAxis axis, int percent) const {
    SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(-32768 + percent * 65535 / 100));
  }
};
