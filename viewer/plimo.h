// Plimo, the scene viewer's main module.
#pragma once

// The program's main procedure: opens the window and runs the frame loop
// until `q`. Main thread.
void Plimo_Body(int argc, char** argv);

// One frame's drawing: the ground, the help text and the three pillars, in
// that order. Main thread.
void Plimo_DrawFrame();
