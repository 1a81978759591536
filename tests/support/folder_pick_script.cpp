#include "support/folder_pick_script.h"

#include <string.h>

#include "filelist/folder_picker.h"

static FolderPickScript* g_script;

FolderPickScript::FolderPickScript(std::initializer_list<std::string> answers) : answers_(answers)
{
    g_script = this;
    SetFolderPicker(&FolderPickScript::Handle);
}

FolderPickScript::~FolderPickScript()
{
    SetFolderPicker(0);
    g_script = 0;
}

int FolderPickScript::Handle(HWND owner, char* path, const char* title)
{
    FolderPickScript* script = g_script;
    script->asked_.push_back({owner, path, path, title ? title : ""});
    if (script->answers_.empty()) return 0;
    std::string answer = script->answers_.front();
    script->answers_.pop_front();
    if (answer.empty() || answer.size() >= MAX_PATH) return 0;
    memcpy(path, answer.c_str(), answer.size() + 1);
    return 1;
}
