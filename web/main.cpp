#include "frmmain.h"
#include "run_time_error.h"

#include <cstdlib>
#include <emscripten.h>

namespace {

frmMain* window = nullptr;

} // namespace

// Where the page hands every event of the board window.
extern "C" EMSCRIPTEN_KEEPALIVE void tarvik_handle(int event) {
    window->handle(event);
}

int main() {
    static frmMain board; // lives as long as the page
    window = &board;
    try {
        board.Form_Load();
    } catch (...) {
        endWithRunTimeError();
        return EXIT_FAILURE;
    }
    board.showCentred();
    return EXIT_SUCCESS;
}
