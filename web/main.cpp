#include "frmmain.h"
#include "page.h"

#include <emscripten.h>

namespace {

// Built by the first event, start-up, which the page holds back until the
// credits box is on the screen; it lives as long as the page.
frmMain& window() {
    static frmMain board;
    return board;
}

} // namespace

// Where the page hands every event of the board window.
extern "C" EMSCRIPTEN_KEEPALIVE void tarvik_handle(int event) {
    window().handle(event);
}

// The page lives on events, so main only queues start-up as the first of
// them; start-up waits for the credits box, and a wait inside main would
// leave main early and end the runtime with it.
int main() {
    tarvik_post(frmMain::StartUp);
    emscripten_exit_with_live_runtime();
}
