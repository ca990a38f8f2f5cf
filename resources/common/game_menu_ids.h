// The Jogo menu's commands, the same in the games and the adult program,
// shared by the resource script and the code (voice/menu_commands.h).  The
// test driver sends them as a therapist's menu choices.
#pragma once

#define IDM_GAME_EXIT 32771
#define IDM_GAME_NOISE 32772
#define IDM_GAME_INTENSITY 32773
#define IDM_GAME_MICROPHONE 32774
#define IDM_GAME_RESTART_TIMER 32775
