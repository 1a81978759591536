// Reads a dialog template (DLGTEMPLATEEX) from the test's own resources, so
// that tests can check what the resource compiler made of the .rc files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    int id;
    std::string className;  // "Button", "Edit", "Static", "ListBox", "ComboBox" or a name
    std::string text;       // code page 932; "#106" for a resource ordinal
};

struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    short cx, cy;
    std::string menu;
    std::string className;
    std::string caption;
    WORD pointSize;
    WORD weight;
    BYTE charset;
    std::string fontFace;
    std::vector<TemplateItem> items;
};

// Loads template id in the Japanese language. false when it is missing or
// not an extended template.
bool ReadDialogTemplate(int id, DialogTemplate* dialog);
