// The two choices the user makes for a run: what happens to each file and
// what happens to its extension. The values are the combo boxes' indexes.
#pragma once

enum FileOperation {
    RenameOnly = 0,     // new name in the file's own folder
    RenameMove = 1,     // new name in the output folder, source removed
    RenameCopy = 2,     // new name in the output folder, source kept
    ExtensionOnly = 3,  // same folder and name, new extension
};

enum ExtensionMode {
    Keep = 0,
    Lower = 1,
    Upper = 2,
    Specified = 3,  // "." + the replacement extension
};
