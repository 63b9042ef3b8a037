// The program's body: the start-up report, the window and GPU set-up, the
// frame loop and the tear-down. main does nothing but call rezuroMain.
#pragma once

// Returns the process exit code, which is 0 on every path.
int rezuroMain();

// Set when the limit notice has been printed; never cleared by the program.
extern unsigned char limitNoticed;
