#pragma once

// False only where the program would surely find no screen to open its window
// on; there Qt would abort with a core dump instead of a clear word.
bool displayAvailable();
