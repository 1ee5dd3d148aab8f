// Connects the GIF codec's busy cursor and message pump to the toolkit.
#pragma once

void InstallGifHooks();
