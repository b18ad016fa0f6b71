// The options property sheet: eleven pages that edit `_config_`, the
// current session and its profile, the list font, the sounds, the
// conversion table, the ASCII-extension list and the WIN.INI associations.
// Modal; nothing changes until a page receives apply (OK or Apply), then
// each value takes effect at once.
//
// Also the list font: made at window creation from FONT and the custom
// description, given to both lists, both mask fields and both folder boxes.
#pragma once
#include <windows.h>

// Opens the sheet at "Session" when connected, else at "General".
void ShowOptionsSheet(HWND owner);
// The "Associate" dialog for an extension (without dot); TRUE on OK with
// an association written.
BOOL ShowAssociateDialog(HWND owner, const char *extension);

// Makes the list fonts from the INI and applies the chosen one.
void CreateListFonts(void);
// Gives the chosen list font to the lists, mask fields and folder boxes;
// the list rows take the font's height.
void ApplyListFont(void);
// Releases the custom font (at shutdown).
void DeleteListFonts(void);
