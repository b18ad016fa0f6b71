// The options sheet's pages as data: each row binds one control (or a run
// of radio buttons) to one INI key, with its kind, default and range. The
// Win32 layer (options_sheet_win.cpp) walks these tables to fill the pages
// and to store them on apply; only the special controls (the list font
// choice, the sound choice, the host type, the transfer mode, the sort
// settings, the conversion table, the ASCII-extension list and the
// associations) have code of their own.
//
// Contract:
//  - every field is read with its default when the key is absent;
//  - numbers are read like a dialog's integer field (ParseFieldNumber) and
//    clamped to [low, high]: "Receive size" 50 is stored as 80, 10000 as
//    4096;
//  - check boxes store 1 or 0; a radio run stores the index of the checked
//    button (low + index); a bit field sets or clears its bit of the key;
//  - session fields go to the current session's section (SessionPutInt),
//    the others to `_config_`.
//
// Also here: the three small text tables of the options (the conversion
// table, the ASCII-extension list, the association commands) as pure edits
// of a list of lines.
#pragma once
#include <stddef.h>

#include <string>
#include <vector>

enum OptionFieldKind { OPTION_CHECK, OPTION_NUMBER, OPTION_TEXT, OPTION_RADIO, OPTION_BIT };
enum OptionStore { STORE_CONFIG, STORE_SESSION };
// Where a stored value also takes effect at once: a member of
// GlobalSettings, of the current SiteProfile, or nowhere.
enum OptionTarget { TARGET_NONE, TARGET_GLOBAL, TARGET_SESSION };

struct OptionField {
    int controlId;        // radio: the first button; the run is consecutive
    const char *key;
    OptionFieldKind kind;
    int def;              // numbers, checks, radios; bits: the bit
    const char *textDefault;
    int low, high;        // numbers: clamp; radios: first value and button count; texts: high = limit
    OptionStore store;
    OptionTarget target;
    size_t offset;        // of the int member in the target record
};

struct OptionPage {
    const OptionField *fields;
    int count;
};

extern const OptionPage GeneralOptionFields;
extern const OptionPage AdvancedOptionFields;
extern const OptionPage DisplayOptionFields;
extern const OptionPage SoundOptionFields;
extern const OptionPage TransferSwitchFields;
extern const OptionPage SessionOptionFields;
extern const OptionPage SessionMoreOptionFields;

// The value stored for what a control shows: for checks "1" when checked;
// for radios the index of the checked button as decimal; for numbers the
// typed text. Texts are not numbers: this is for the other kinds.
int StoredOptionValue(const OptionField &f, const char *shown);
// The radio button (0-based index in its run) that shows a stored value,
// or -1 when no button shows it.
int RadioIndexFor(const OptionField &f, int value);
// The field of a page by key, or null.
const OptionField *FindOptionField(const OptionPage &page, const char *key);

// The "Startup Transfer Mode" run: 0 ASCII, 1 Binary, 2 L8, 3 Auto Detect.
int TransferModeButton(int autoMode, int mode);
// What the run stores: AMODE, and MODE (65, 73, 76) or -1 for unchanged.
void TransferModeValues(int button, int *autoMode, int *mode);
// The MODE that "Set as default" writes for a button.
int DefaultModeFor(int button);

// The sound choice: 0 None, 1 Beeps, 2 Wave.
int SoundChoice(int bell, int useWave);
void SoundChoiceValues(int choice, int *bell, int *useWave);

// ---------------------------------------------------------------------
// Text tables

typedef std::vector<std::string> TextLines;

// The conversion table: entries "source=destination". Add replaces an
// entry that begins with the same source and "="; sources and destinations
// are cut to 19 characters. Delete removes that entry. False when the
// source is empty.
bool AddConversionEntry(TextLines *lines, const char *source, const char *destination);
bool DeleteConversionEntry(TextLines *lines, const char *source);
// Splits an entry at the first "=" into its two fields.
void SplitConversionEntry(const char *entry, std::string *source, std::string *destination);
// Whether a line is written back to the file: at least 2 characters and
// an "=" (conversion table), or at least 2 characters (extension list).
bool KeepConversionLine(const std::string &line);
bool KeepExtensionLine(const std::string &line);

// The ASCII-extension list: add (at least 2 characters, cut to 9) unless
// held exactly; delete the exact match.
bool AddExtensionEntry(TextLines *lines, const char *text);
bool DeleteExtensionEntry(TextLines *lines, const char *text);

// The command part of an association value: the text before "^", blanks
// trimmed.
std::string AssociationProgram(const char *value);
// The value written for an extension and a command: " ^.ext" appended when
// the command has no "^"; the part from "^" replaced by "^.ext" when it
// has a "^" but not the extension. Empty when either is empty or the
// extension is longer than 3 characters.
std::string AssociationValue(const char *extension, const char *command);
