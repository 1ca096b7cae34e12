// The program's entry point: the game takes no command line.
#include <windows.h>

#include "game/game.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    game_main();
}
