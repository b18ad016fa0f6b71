// The rules the main window's command dispatch decides by, free of the
// platform: which buttons are enabled, where keyboard search lands, what a
// double-click does, and which help page belongs to a help context.
#pragma once
#include <stddef.h>

// What the button update looks at.
struct PaneState {
    int localSelected;    // selected rows of the local list
    int remoteSelected;   // selected rows of the remote list
    bool connected;
    bool canMakeFolder, canRename, canDelete;
};

struct ButtonState {
    int id;        // command id of the button
    bool enabled;
};

enum { BUTTON_STATE_COUNT = 17 };
// Fills out[BUTTON_STATE_COUNT] with every button whose state follows the
// panes, in a fixed order.
void ComputeButtonStates(const PaneState &state, ButtonState out[BUTTON_STATE_COUNT]);

// Keyboard search in a list of count rows: the next row after caret whose
// name begins with key (case-insensitive), else the first such row from the
// top up to the caret; -1 when none. nameAt returns a row's name.
int KeyboardSearch(int count, int caret, char key, const char *(*nameAt)(void *context, int row),
                   void *context);

// What a double-click on a row does.
enum DoubleClickAction { CLICK_NAVIGATE, CLICK_TRANSFER, CLICK_VIEW, CLICK_NOTHING };
// kind is the row's FileKind; remote tells the pane; option is DBLCLK
// (0 transfer, 1 view, 2 nothing; anything else counts as 2).
DoubleClickAction DoubleClickFor(unsigned kind, bool remote, int option);

// The help page of a help context: a file name of the help folder. Unknown
// contexts and those below 11 give the contents page.
const char *HelpPageFor(int context);
