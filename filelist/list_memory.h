// What the file list does when memory runs out.
#pragma once

// Tells the user, owned by the main window, that memory ran out.
void ReportOutOfMemory();
