// The program's icon and the hand cursor shown over links.
#pragma once

#define IDI_TOVIK 106
#define IDC_HAND_CURSOR 108
