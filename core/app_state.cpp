#include "core/app_state.h"

#include <string.h>

#include "core/settings.h"

static AppState g_appState;

AppState* GetAppState()
{
    return &g_appState;
}

AppState* ResetState()
{
    AppState* state = GetAppState();
    memset(state, 0, sizeof *state);
    LoadSettings(&state->settings);
    state->fileOperation = RenameOnly;
    return state;
}
