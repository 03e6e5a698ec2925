#pragma once

// An error that no routine handles (a bitmap that cannot be loaded, an index
// off the board) ends the program through the run-time error report: a modal
// box naming the error, then the end of the event loop with failure.
//
// Qt does not let exceptions cross its signal and event delivery, so every
// handler of the board window catches at its own edge, through guarded().

// Shows the report for the exception being handled and returns the exit status
// the program must end with. Call it only from a catch block.
int reportRunTimeError();

// Reports the exception being handled, hides every window so that nothing more
// can be chosen, and ends the event loop with failure.
void endWithRunTimeError();

// The handler, wrapped so that an error escaping it ends the program as above.
template <typename Handler> auto guarded(Handler handler) {
    return [handler]() mutable {
        try {
            handler();
        } catch (...) {
            endWithRunTimeError();
        }
    };
}
