// Why an entry is not renamed, as the run and its plan give it: some of the
// platform's error codes, and reasons of the program's own. Platform-neutral.
#pragma once

// The platform's codes that the plan gives too.
enum PlatformError : unsigned long {
    kErrorFileNotFound = 2,   // ERROR_FILE_NOT_FOUND
    kErrorAccessDenied = 5,   // ERROR_ACCESS_DENIED: what a folder as source gives
    kErrorNameTooLong = 206,  // ERROR_FILENAME_EXCED_RANGE
};

// Reasons of the program's own, listed with a fixed text. Codes with bit 29
// set are never the system's.
enum RunReason : unsigned long {
    kReasonNameHeldByRun = 0x20000001,  // the new name is another staying file's of the run
    kReasonSourceReplaced,              // another entry's file now stands at the source
    kReasonRingMemberFailed,            // a file of the same exchange of names failed
    kReasonCopyOntoItself,              // RenameCopy onto the source itself
    kReasonTemporaryFileInUse,          // TOVIK.DAT is held by another running copy
    kReasonChangedSince,                // undo: the file at the new path is not the one the run placed
    kReasonOldNameTaken,                // undo: another file stands at the old path
    kReasonSourceNotRemoved,            // a move across drives copied, but could not remove its source
    kReasonNotRunsFile,                 // recovery: not the file the run moved aside
    kReasonCopyKept,                    // recovery: a copy cut short whose source is gone stays
    kReasonUndoStopped,                 // undo: stopped before this file
    kReasonJournalInUse,                // the journal is held by another running copy
    kReasonRunPending,                  // the journal's run is not put right yet
    kReasonJournalDamaged,              // the journal cannot be read, nor set aside
    kReasonFolderInTheWay,              // a folder stands at the new path
    kReasonForbiddenCharInName,         // the new name holds a character Windows forbids in a file name
    kReasonControlCharInName,           // the new name holds a byte 0x01-0x1F
    kReasonNameEndsInDotOrSpace,        // the new name ends in a dot or a space
    kReasonDeviceName,                  // the new name is one Windows keeps for a device (NUL, COM1...)
};
