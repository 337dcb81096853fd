// The fonts of the windows. They are fixed in code, in pixels, because every control has a
// fixed size: a desktop's own font choice or scaling must not push captions out of it.
#pragma once

#include <QFont>

// The regular font of all windows and controls.
QFont WindowFont();
// The bold captions of the main window's group boxes.
QFont GroupCaptionFont();
