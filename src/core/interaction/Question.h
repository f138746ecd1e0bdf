#pragma once
// A question a decision of the rules puts to the person, in the words of the
// language spoken as it is asked; a front end shows it and passes the button
// chosen back.
#include <string>

#include "interaction/UserInteraction.h"

struct Question {
    std::string text;
    Buttons buttons = Buttons::OkCancel;
    bool warning = true;  // shown as a warning rather than a plain question
    // Enter answers Cancel: going on cannot be undone and must be chosen.
    bool cancelIsDefault = false;
};
