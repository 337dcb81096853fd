// The report tool draws with the program's windows and fonts, which need an application
// object; it runs on Qt's offscreen platform, so no display is needed.
#pragma once

// Makes the application object once (offscreen, the program's style and font, at 1:1
// whatever scaling the environment asks for); does nothing when one exists.
void EnsureOffscreenApplication();

// Ends the application object, if one was made, when main ends. Left to the statics
// destroyed after main, it would reach Qt's font cache after that is gone.
class OffscreenApplicationScope {
public:
    OffscreenApplicationScope() = default;
    OffscreenApplicationScope(const OffscreenApplicationScope&) = delete;
    OffscreenApplicationScope& operator=(const OffscreenApplicationScope&) = delete;
    ~OffscreenApplicationScope();
};
