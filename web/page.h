#pragma once

// The page's primitives, written in JavaScript (library.js): the few things
// only the browser can do. Strings are UTF-8; events are numbers that the
// page hands back to tarvik_handle when they come.
extern "C" {
void tarvik_add_cell(int number, int left, int top, int side, int event);
void tarvik_name_cell(int number, const char* name);
void tarvik_add_menu(const char* name, const char* caption);
void tarvik_add_menu_item(const char* menu, const char* name, const char* caption, int event);
// Takes the board's first scale, for a client area of that many pixels at
// 100 % whose cells lie `step` apart, and hands the event back whenever the
// scale changes.
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
int tarvik_system_colour(int index); // 0xRRGGBB
void tarvik_fill(int x, int y, int width, int height, int rgb);
// The picture at its natural size times `ratio`, its top-left corner at
// (x, y), clipped to the width and height from there.
void tarvik_draw_picture(int picture, int x, int y, int width, int height, double ratio,
                         int smooth);

// Fetches and decodes the file anew. Returns a picture handle above 0, or
// minus a LoadFailure, with its numbers in details[0] and details[1].
int tarvik_load_picture(const char* url, int maxFileBytes, int maxPictureBytes, int* details);
void tarvik_release_picture(int picture);

// Modal boxes: each returns when the user has closed it. The page opens the
// credits box itself, with the program's words, as soon as it is read.
void tarvik_show_credits();
void tarvik_report(const char* title, const char* message);

void tarvik_show_window();
// The board leaves the page and no handler runs again.
void tarvik_end_program();
}

// Why tarvik_load_picture failed.
enum class LoadFailure {
    NotFound = 1,
    NoPermission,
    HttpStatus, // details[0]: the status
    Network,
    Empty,
    TooLarge,
    NotBitmap,
    Undecodable,
    PictureTooLarge, // details: width and height
};
