#pragma once

// An error that no routine handles (a picture that cannot be loaded, an index
// off the board) ends the program through the run-time error report: a modal
// box naming the error, after which the board leaves the page and no handler
// runs again.

// Reports the exception being handled and ends the program. Call it only from
// a catch block.
void endWithRunTimeError();
