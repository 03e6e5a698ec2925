#pragma once

// The page's primitives, written in JavaScript (library.js): the few things
// only the browser can do. Strings are UTF-8; events are numbers that the
// page hands back to tarvik_handle when they come.
extern "C" {
void tarvik_add_cell(int number, int left, int top, int side, int event);
void tarvik_name_cell(int number, const char* name);
void tarvik_focus_cell(int number);
void tarvik_add_menu(const char* name, const char* caption);
void tarvik_add_menu_item(const char* menu, const char* name, const char* caption, int event);
// Takes the board's first scale, for a client area of that many pixels at
// 100 % whose cells lie `step` apart, and hands the event back whenever the
// scale or the colour scheme changes.
void tarvik_on_rescale(int event, int width, int height, int step);
// Queues an event as if the page had handed it.
void tarvik_post(int event);

// Writes the page's folder, without a final "/", into the buffer and returns
// its length in bytes; a longer folder is cut, and the length tells so.
int tarvik_page_folder(char* buffer, int size);

// The board's canvas, in device pixels: how many to one of the window's, the
// browser's zoom times what fits the window on a small screen.
double tarvik_device_ratio();
void tarvik_size_board(int width, int height);
// A colour of the user's scheme by its CSS name, as 0xRRGGBB.
int tarvik_scheme_colour(const char* name);
void tarvik_fill(int x, int y, int width, int height, int rgb);
// The picture at its natural size times `ratio`, its top-left corner at
// (x, y), clipped to the width and height from there.
void tarvik_draw_picture(int picture, int x, int y, int width, int height, double ratio,
                         int smooth);

// Asks the server for the file now, for the tarvik_fetch_file that follows,
// so that the files of one move travel together.
void tarvik_ask_for_file(const char* url, int limit, int deadlineMs);
// Fetches the file anew, or takes what tarvik_ask_for_file asked for, and
// keeps at most `limit` of its bytes for tarvik_take_file. Returns how many
// it kept, or -1 when the server's answer is not the file: its HTTP status in
// `status`, 0 when it could not be reached, -1 when it did not answer within
// `deadlineMs`.
int tarvik_fetch_file(const char* url, int limit, int deadlineMs, int* status);
// Copies the bytes kept into the buffer, as many as tarvik_fetch_file said.
void tarvik_take_file(unsigned char* buffer);
// Decodes the bytes as a picture: a handle above 0, or 0 when it cannot.
int tarvik_decode_picture(const unsigned char* bytes, int size);
void tarvik_release_picture(int picture);

// The game the tab keeps (written by tarvik_keep_game before the browser
// ended the page), as tarvik_page_folder writes the folder; -1 when none.
int tarvik_kept_game(char* buffer, int size);
// Keeps the line as the tab's game; "" keeps none. Once the program has
// ended, nothing.
void tarvik_keep_game(const char* line);

// Modal boxes: each returns when the user has closed it. The page opens the
// credits box itself, with the program's words, as soon as it is read, unless
// the tab keeps a game; then it opens it here.
void tarvik_show_credits();
void tarvik_report(const char* title, const char* message);

void tarvik_show_window();
// The board leaves the page and no handler runs again.
void tarvik_end_program();
}
