// The module's one settings store, defined in plugin/module.cpp.
#pragma once
#include "settings/settings_store.h"

namespace lvp {
extern CSettingsStore g_Settings;
} // namespace lvp
