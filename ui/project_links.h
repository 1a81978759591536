// The project's web page and mail address: shown by the about box's link
// labels (res/about_box.rc) and handed to the shell when one is clicked.
// Plain #defines, so that the resource compiler reads this file too.
#pragma once

#define TOVIK_WEB_ADDRESS "https://tovik.example.org/"
#define TOVIK_MAIL_ADDRESS "tovik@example.org"

#define TOVIK_WEB_LABEL "URL : " TOVIK_WEB_ADDRESS
#define TOVIK_MAIL_LABEL "Mail : " TOVIK_MAIL_ADDRESS
#define TOVIK_MAIL_LINK "mailto:" TOVIK_MAIL_ADDRESS
