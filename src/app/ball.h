// The ball: on its stand until the ship tags it, then towed on a rigid rod
// of 20 pixels whose centre is the flight point, until a hit destroys it or
// it leaves the cave with the ship. The level loop runs its steps at fixed
// places in the frame and the ship step runs the rod step. When the ship is
// lost while towing, the ball flies on alone under gravity until it hits
// something; a ball on its stand stays there.
#pragma once

struct Ball {
  int ballOnStand;       // not yet taken from the stand
  int tagging;           // tagged: the line is shown until the rod takes hold
  int ballExploded;      // the explosion has been started
  float rodAngle;        // the ship lies at (sin, -cos) x 10 from the centre, the ball opposite
  float rodSpin;         // radians per time unit; positive values decrease rodAngle
  float rodSin, rodCos;  // of rodAngle as the frame's rod step began
  float rodTorque;       // thrust across the rod, for the next frame's swing
  float rodAxial;        // thrust along the rod, for the next frame's thrust power
  float freeX, freeY;    // the ball flying on after the ship's loss
  float freeVelX, freeVelY;
};

extern Ball ball;

// Level start: on the stand at levelState.ballX, ballY, neither tagged nor towed.
void placeBallOnStand();
// In the ship step while towing: the ship out along the rod, then the rod's swing.
void stepRod();
// Where the towed ball hangs this frame, and whether anything drawn so far touches it.
void placeTowedBall();
// When the ship is destroyed: a towed ball takes its own position and speed.
void releaseBall();
// The freed ball's flight after the ship's loss.
void flyFreeBall();
void explodeBall();
// The stand, the ball, the rod, the tagging line, and the rod taking hold.
void drawBall();
// Space near the ball on its stand starts the tag.
void tagBall();
