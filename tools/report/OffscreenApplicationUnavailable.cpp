// Without the windows no application object is ever made.
#include "tools/report/OffscreenApplication.h"

OffscreenApplicationScope::~OffscreenApplicationScope() = default;
