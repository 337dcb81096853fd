// The dictionary file: the three name lists alone, without marks or matrices.
#pragma once

#include "model/NameLists.h"

#include <string>

class IMessageSink;

// Replaces `lists` only when the whole file was read; otherwise the lists stay as they
// were and the reason goes to `messages`. Paths and names are UTF-8.
bool LoadDictionary(const std::string& path, NameLists& lists, IMessageSink& messages);

// Replaces the target only when everything was written; false (with a message) otherwise.
bool SaveDictionary(const std::string& path, const NameLists& lists, IMessageSink& messages);
