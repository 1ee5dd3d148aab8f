// The drop shadow of a text drawn on a picture.
#pragma once

#include "PictureServices.h"

// Darkens to half brightness every pixel 2 to the right of and 2 below a pixel of exactly
// `fontColor`, unless it has that colour itself. The whole picture is scanned from (1, 1), row
// by row, left to right, changing pixels as it goes, so a pixel darkened into the font colour
// casts a shadow in turn. Row 0 and column 0 cast nothing; nothing is drawn outside.
void DessineOmbre(TPicture& picture, TPlatformColor fontColor);
