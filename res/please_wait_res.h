// Template 107, the window shown while a run renames the files.
#pragma once

#define IDD_PLEASE_WAIT 107
