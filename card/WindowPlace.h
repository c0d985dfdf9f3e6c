#pragma once
// The window values the card opens with (twips, and the tab), as its closing
// stores them; a host's first run, tests and benchmarks set them the same way.
namespace card {

struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int frame = 1;
};

// "Left", "Top", "Width", "Height" and "Frame", as closing the card stores them.
void storeWindowPlace(const WindowPlace& place);
// The same, and "AutoSize" 0: the card opens there, never re-placed by the
// screen's size.
void keepWindowPlace(const WindowPlace& place);

} // namespace card
