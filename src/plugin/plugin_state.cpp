#include "plugin/plugin_state.h"

// Constant-initialised, so the application object may use it from its own constructor whatever the
// order in which the files' static objects are built.
constinit PluginState pluginState;
