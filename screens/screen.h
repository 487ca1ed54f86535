// Which screen and which overlay shows.
#pragma once

// The screen codes: the integer part is the group (menus, help pages, the
// game), the tenths the page within it.
constexpr double kMainMenu = 0.0;
constexpr double kPlayerMenu = 0.1;
constexpr double kNetworkMenu = 0.2;
constexpr double kInstructionsPage = 1.0;
constexpr double kControlsPage = 1.1;
constexpr double kBoardScreen = 2.0;

struct Screen {
    double screen_code;
    int menu_choice;  // highlighted button, the top one 0
    bool quit_question_open;
    bool exit_dialog_open;
    bool exit_yes_selected;
};

extern Screen screen;

// Compares the screen code with a relative tolerance.
bool screen_is(double value);

// Flow operations: starting, pausing, resuming, leaving and replaying games.
void start_versus_computer();
void start_local_game();
void start_hosting();
void start_joining();
void pause_game();
void resume_game();
void leave_game();
// Leaves the game for its menu without a word to the opponent.
void back_to_menu();
void play_again();

// Answers on the main thread what the connection thread reported: a lost
// connection is told once no pause prompt is in the way, the game is reset
// once its box is dismissed, and a taken port ends the hosting.
void connection_report_timer(int);
