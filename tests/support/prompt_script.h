// Answers the program's message boxes from a script and records exactly what
// each one asked, so that tests can check the Japanese texts byte for byte.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

struct AskedPrompt {
    HWND owner;
    std::string text;
    std::string title;
    UINT buttons;  // MB_OK, MB_YESNO or MB_YESNOCANCEL
    UINT icon;     // MB_ICONERROR, MB_ICONQUESTION or 0
};

// While alive, every Prompt is answered from the queue of answers (IDYES,
// IDNO, IDCANCEL, IDOK); when the queue is empty, OK boxes get IDOK and
// questions get the fallback answer. The real message box is back afterwards.
class PromptScript {
public:
    explicit PromptScript(std::initializer_list<int> answers = {}, int fallback = IDNO);
    ~PromptScript();
    PromptScript(const PromptScript&) = delete;
    PromptScript& operator=(const PromptScript&) = delete;

    void Answer(int answer) { answers_.push_back(answer); }
    const std::vector<AskedPrompt>& Asked() const { return asked_; }
    size_t Count() const { return asked_.size(); }
    const AskedPrompt& Last() const { return asked_.back(); }
    void Clear() { asked_.clear(); }

private:
    static int Handle(HWND owner, const char* text, const char* title, UINT buttons, UINT icon);

    std::deque<int> answers_;
    int fallback_;
    std::vector<AskedPrompt> asked_;
};
