#pragma once

// Lets assistive technology press a cell as a click would: each cell offers a
// press action beside the usual focus action. Installed once, by the first cell.
void installCellAccessibility();
