// Plimo, the scene viewer's main module.
#pragma once

// The program's main procedure: opens the window and runs the frame loop
// until `q`. Main thread.
void Plimo_Body(int argc, char** argv);

// One frame's drawing: the ground, the help text and the three pillars, in
// that order. Main thread.
void Plimo_DrawFrame();

// One whole frame: the picture erased and drawn anew off screen, then shown
// at once, so the window never shows it half drawn. Main thread.
void Plimo_ShowFrame();
