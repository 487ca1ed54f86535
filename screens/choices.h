// What a key and a click both do: act on a menu item, answer the exit box,
// pick a pit for the player to move.
#pragma once

#include "rules/board.h"

constexpr int kExitItem = 3;  // the main menu's fourth button

bool on_a_menu();
// The buttons of the menu showing: four on the main menu, three on the others.
int menu_item_count();

// Acts on an item of the menu showing, whether Enter or a click chose it.
void choose_menu_item(int item);

void close_exit_box();
// Enter in the open exit box: Yes ends the game, No closes the box.
void answer_exit_box();

// Sows a pit for the player to move, if this side moves for that player and
// the pit may be picked; a network opponent is told.
void pick_pit(PitPosition pit);
