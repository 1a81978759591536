#include "support/prompt_script.h"

#include "core/prompt.h"

static PromptScript* g_script;

PromptScript::PromptScript(std::initializer_list<int> answers, int fallback)
    : answers_(answers), fallback_(fallback)
{
    g_script = this;
    SetPromptHandler(&PromptScript::Handle);
}

PromptScript::~PromptScript()
{
    SetPromptHandler(0);
    g_script = 0;
}

int PromptScript::Handle(HWND owner, const char* text, const char* title, UINT buttons, UINT icon)
{
    PromptScript* script = g_script;
    script->asked_.push_back({owner, text ? text : "", title ? title : "", buttons, icon});
    if (buttons == MB_OK) return IDOK;
    if (script->answers_.empty()) return script->fallback_;
    int answer = script->answers_.front();
    script->answers_.pop_front();
    return answer;
}
