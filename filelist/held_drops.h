// Drops that arrive while other work is in progress (a question's modal loop
// delivers them) wait here, in arrival order, until that work has ended.
#pragma once

#include <windows.h>
#include <shellapi.h>

// Keeps the drop for later. Without memory for it the drop is released and
// lost, and the user is told.
void HoldDrop(HDROP drop);

// The oldest held drop, taken out of the queue, or NULL.
HDROP TakeHeldDrop();

// Releases every held drop unread: the window is closing.
void ReleaseHeldDrops();

// A file has moved from one path to another while the drops are held: each
// held drop that names from (letter case aside) names to instead.
void FollowHeldDrops(const char* from, const char* to);
