// Event sounds: a wave file per event, or a system beep. Event codes are
// also the bits of the "soundflags" mask.
#pragma once

enum {
    SOUND_OTHER_FAILURE = 1,
    SOUND_CONNECT_SUCCESS = 2,
    SOUND_CONNECT_FAILURE = 4,
    SOUND_TRANSFER_SUCCESS = 8,
    SOUND_TRANSFER_FAILURE = 16,
};

// Reads "BELL", "usewave", "soundflags" and the wave paths from `_config_`.
void LoadSoundSettings(void);
// Plays the event's wave (asynchronously) when enabled and present, else
// its beep; nothing when sounds are off or the event's bit is clear.
void PlayEventSound(int event);
