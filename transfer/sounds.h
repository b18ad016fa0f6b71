// Event sounds: a wave file per event, or a system beep. Event codes are
// also the bits of the "soundflags" mask:
//
//   code  event                wave key  beep without a wave
//   1     other failure        "sndaf"   exclamation
//   2     connection success   "sndcs"   asterisk
//   4     connection failure   "sndcf"   exclamation
//   8     transfer success     "sndts"   default
//   16    transfer failure     "sndtf"   exclamation
//
// Nothing sounds while the switch ("BELL") is off or the event's bit is
// clear; the default mask 30 leaves other failures silent.
#pragma once

enum {
    SOUND_OTHER_FAILURE = 1,
    SOUND_CONNECT_SUCCESS = 2,
    SOUND_CONNECT_FAILURE = 4,
    SOUND_TRANSFER_SUCCESS = 8,
    SOUND_TRANSFER_FAILURE = 16,
};

// What one event does.
enum SoundAction {
    SOUND_SILENT,
    SOUND_PLAY_WAVE,
    SOUND_BEEP_ASTERISK,
    SOUND_BEEP_DEFAULT,
    SOUND_BEEP_EXCLAMATION,
};

struct SoundSwitches {
    int bell;        // BELL
    int useWave;     // usewave
    int flags;       // soundflags
};

// The action for an event; waveExists tells whether its wave file is there.
SoundAction SoundForEvent(const SoundSwitches *s, int event, int waveExists);

// The Win32 side (sounds_win.cpp).
// Reads "BELL", "usewave", "soundflags" and the wave paths from `_config_`.
void LoadSoundSettings(void);
// Plays the sound of one event, asynchronously.
void PlayEventSound(int event);
// The switch in memory ("BELL"), turned off for a while by listing fetches
// and folder walks; returns the previous value.
int SetSoundSwitch(int on);
