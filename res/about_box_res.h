// Template 105, the about box, and its link labels.
#pragma once

#define IDD_ABOUT_BOX 105

#define IDC_WEB_LINK 1022
#define IDC_MAIL_LINK 1023
