#include "frmmain.h"
#include "page.h"

#include <emscripten.h>

namespace {

frmMain* window = nullptr;

} // namespace

// Where the page hands every event of the board window.
extern "C" EMSCRIPTEN_KEEPALIVE void tarvik_handle(int event) {
    window->handle(event);
}

// The page lives on events, so main only builds the window and queues its
// start-up as the first of them; start-up waits for the credits box, and a
// wait inside main would leave main early and end the runtime with it.
int main() {
    static frmMain board; // lives as long as the page
    window = &board;
    tarvik_post(frmMain::StartUp);
    emscripten_exit_with_live_runtime();
}
