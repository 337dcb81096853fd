// The fonts of the windows. They are fixed in code, in pixels, because every control has a
// fixed size: a desktop's own font choice or scaling must not push captions out of it.
#pragma once

#include <QFont>

// Makes the Liberation Sans the program carries known to Qt, once; later calls only tell
// again whether every face could be loaded.
// The windows' fixed geometry and the charts' label places are measured with it, so it
// must be the same font on every system, whatever fonts the system itself has. Needs the
// application object; WindowFont() calls it.
bool LoadBundledFonts();

// The regular font of all windows and controls.
QFont WindowFont();
// The bold captions of the main window's group boxes.
QFont GroupCaptionFont();
