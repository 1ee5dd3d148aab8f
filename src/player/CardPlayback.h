// Playing a card in its window: the compositor's frames at the display's pace, the sound and
// tune lines on the output device at their moments, until Escape or the close box.
#pragma once

#include "CardPackage.h"
#include "CardSound.h"
#include "CardTimeline.h"

#include <string>

// Returns when the user ends the card. The window is titled `title`. Without a sound device
// the card plays silently and says so through `complain`, as it does of a sound it cannot
// play. Throws ENoDisplay when no window can be opened, and the package's errors when a
// picture cannot be read.
void PlayCard(const TCardPackage& package, const TCardTimeline& timeline, const std::string& title,
              const TSoundCues::TComplaint& complain);

// Tells the user of an error in a message box, when there is a display to show one on.
void ShowCardError(const std::string& title, const std::string& message);
