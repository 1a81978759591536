// Entry point. The main window is not built yet: for now the program shows
// the naming pattern it loads from its settings file.
#include <windows.h>

#include "core/app_state.h"
#include "core/prompt.h"
#include "rename/name_compose.h"
#include "rename/preview.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    AppState* state = ResetState();
    char number[kNumberTextSize];
    FormatSequenceNumber(state->startNumber, state->digitCountIndex + 1, number, sizeof number);
    char preview[kPreviewSize];
    BuildPreviewText(state->prefix, number, state->suffix, preview, sizeof preview);
    Prompt(NULL, preview, "Tovik Ver 1.03", MB_OK, MB_ICONINFORMATION);
    return 0;
}
