#pragma once

// Registers the resources compiled into the designer's library (the icons), which a static
// library does not register on its own. Safe to call more than once.
void InitDesignerResources();
