// Window geometry values kept in the configuration: parsing and the
// placement arithmetic, free of any window system.
#pragma once

// Main window geometry order: left, top, width, height, pane divider, log divider.
enum { GEO_LEFT, GEO_TOP, GEO_WIDTH, GEO_HEIGHT, GEO_PANE, GEO_LOG, GEO_COUNT };

// The defaults for a desktop of the given width.
void DefaultMainGeometry(int desktopWidth, int geometry[GEO_COUNT]);

// Reads a saved main-window geometry ("l,t,w,h,pane,log") over the values in
// geometry. Fields are taken left to right while each is followed by a
// comma; the height is also taken as the last field, and the log divider
// whenever the pane divider is followed by a comma.
void ParseMainGeometry(const char *text, int geometry[GEO_COUNT]);

// Reads a four-field rectangle ("l,t,w,h"): a field is taken only when a
// comma follows it, except the last, which is the rest of the text. A text
// without a comma changes nothing.
void ParseFourFields(const char *text, int values[4]);

// Reads four signed decimals separated by commas, stopping at the first
// missing comma; returns how many were read.
int ParseIntList(const char *text, int *values, int count);

// Decimal text to a 32-bit integer with wrap-around, so that a negative
// coordinate written as "%u" comes back negative.
int ParseWrappedInt(const char *text);

struct PlaceRect { int left, top, width, height; };

// Where a dialog of the given size goes when centred on the reference
// rectangle: offset added to the top when not 0, then kept inside the
// desktop and never negative.
void CenterInRect(int width, int height, PlaceRect reference, PlaceRect desktop,
                  int verticalOffset, int *left, int *top);
