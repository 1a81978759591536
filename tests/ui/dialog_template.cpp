#include "dialog_template.h"

#include <stdio.h>
#include <string.h>

namespace {

struct Reader {
    const BYTE* at;
    const BYTE* end;

    bool Has(size_t bytes) const { return at + bytes <= end; }
    WORD Word()
    {
        WORD value = 0;
        if (Has(2)) memcpy(&value, at, 2);
        at += 2;
        return value;
    }
    DWORD Dword()
    {
        DWORD value = 0;
        if (Has(4)) memcpy(&value, at, 4);
        at += 4;
        return value;
    }
    BYTE Byte() { return Has(1) ? *at++ : (at++, 0); }
    void AlignDword(const BYTE* base)
    {
        size_t offset = (size_t)(at - base);
        at += (4 - offset % 4) % 4;
    }
    std::string Text()
    {
        std::wstring wide;
        for (WORD c = Word(); c != 0 && at <= end; c = Word()) wide += (wchar_t)c;
        if (wide.empty()) return "";
        char text[1024];
        int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), (int)wide.size(), text,
                                         sizeof text, NULL, NULL);
        return std::string(text, length > 0 ? (size_t)length : 0);
    }
    // A name or an ordinal (0xFFFF followed by the number).
    std::string NameOrOrdinal(const char* const* ordinalNames)
    {
        if (!Has(2)) return "";
        WORD first;
        memcpy(&first, at, 2);
        if (first == 0) {
            at += 2;
            return "";
        }
        if (first == 0xFFFF) {
            at += 2;
            WORD ordinal = Word();
            if (ordinalNames && ordinal >= 0x80 && ordinal <= 0x85) return ordinalNames[ordinal - 0x80];
            char number[16];
            snprintf(number, sizeof number, "#%u", ordinal);
            return number;
        }
        return Text();
    }
};

const char* const kPredefinedClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar",
                                          "ComboBox"};

}  // namespace

bool ReadDialogTemplate(int id, DialogTemplate* dialog)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC found = FindResourceExA(module, (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    if (!found) return false;
    const BYTE* base = (const BYTE*)LockResource(LoadResource(module, found));
    if (!base) return false;
    Reader r = {base, base + SizeofResource(module, found)};
    if (r.Word() != 1 || r.Word() != 0xFFFF) return false;
    r.Dword();  // help id
    dialog->exStyle = r.Dword();
    dialog->style = r.Dword();
    WORD count = r.Word();
    r.Word();  // x
    r.Word();  // y
    dialog->cx = (short)r.Word();
    dialog->cy = (short)r.Word();
    dialog->menu = r.NameOrOrdinal(NULL);
    dialog->className = r.NameOrOrdinal(NULL);
    dialog->caption = r.Text();
    dialog->pointSize = dialog->weight = 0;
    dialog->charset = 0;
    dialog->fontFace.clear();
    if (dialog->style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog->pointSize = r.Word();
        dialog->weight = r.Word();
        r.Byte();  // italic
        dialog->charset = r.Byte();
        dialog->fontFace = r.Text();
    }
    dialog->items.clear();
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword(base);
        TemplateItem item;
        r.Dword();  // help id
        item.exStyle = r.Dword();
        item.style = r.Dword();
        item.x = (short)r.Word();
        item.y = (short)r.Word();
        item.cx = (short)r.Word();
        item.cy = (short)r.Word();
        item.id = (int)r.Dword();
        item.className = r.NameOrOrdinal(kPredefinedClasses);
        item.text = r.NameOrOrdinal(NULL);
        WORD extra = r.Word();
        r.at += extra;
        if (!r.Has(0)) return false;
        dialog->items.push_back(item);
    }
    return true;
}
