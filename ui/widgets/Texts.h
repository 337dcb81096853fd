// Texts more than one window shows, one place each, and the translator the core's texts go
// through. Every text the analyst reads is a Russian source text passed through Qt's
// translation, so a translation can be added without touching code.
#pragma once

#include <QString>

// The program's name and version: every window's caption and the message boxes'.
QString ProgramTitle();

// Makes the core's texts (file messages, captions of the mode table, ...) go through Qt's
// translation too. Called once when the application object exists.
void InstallTextTranslator();
