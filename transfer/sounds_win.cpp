#include "transfer/sounds.h"

#include <windows.h>
#include <mmsystem.h>
#include <stdio.h>
#include <string.h>

#include "app/config.h"

namespace {

struct SoundSettings {
    bool loaded;
    SoundSwitches switches;
    char waves[5][256];   // by event bit: 1, 2, 4, 8, 16
};

SoundSettings Sounds;

const char *const WaveKeys[5] = {"sndaf", "sndcs", "sndcf", "sndts", "sndtf"};
const char *const WaveNames[5] = {"error.wav", "connect.wav", "error.wav", "complete.wav",
                                  "error.wav"};

int EventIndex(int event)
{
    for (int i = 0; i < 5; i++) {
        if (event == 1 << i)
            return i;
    }
    return -1;
}

void EnsureLoaded(void)
{
    if (!Sounds.loaded)
        LoadSoundSettings();
}

}  // namespace

void LoadSoundSettings(void)
{
    char folder[256] = "";
    DWORD n = GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (n == 0 || n >= sizeof folder)
        folder[0] = 0;
    char *slash = strrchr(folder, '\\');
    if (slash)
        slash[1] = 0;
    else
        folder[0] = 0;
    Sounds.switches.bell = ConfigGetInt("BELL", 1);
    Sounds.switches.useWave = ConfigGetInt("usewave", 1);
    Sounds.switches.flags = ConfigGetInt("soundflags", 30);
    for (int i = 0; i < 5; i++) {
        char def[256];
        snprintf(def, sizeof def, "%s%s", folder, WaveNames[i]);
        ConfigGetString(WaveKeys[i], def, Sounds.waves[i], sizeof Sounds.waves[i]);
    }
    Sounds.loaded = true;
}

int SetSoundSwitch(int on)
{
    EnsureLoaded();
    int previous = Sounds.switches.bell;
    Sounds.switches.bell = on;
    return previous;
}

void PlayEventSound(int event)
{
    EnsureLoaded();
    int index = EventIndex(event);
    const char *wave = index >= 0 ? Sounds.waves[index] : "";
    bool exists = wave[0] && GetFileAttributesA(wave) != INVALID_FILE_ATTRIBUTES;
    SoundAction action = SoundForEvent(&Sounds.switches, event, exists);
    // A wave that does not play falls back to the event's beep.
    if (action == SOUND_PLAY_WAVE &&
        !PlaySoundA(wave, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
        action = SoundForEvent(&Sounds.switches, event, 0);
    if (action == SOUND_BEEP_ASTERISK)
        MessageBeep(MB_ICONASTERISK);
    else if (action == SOUND_BEEP_DEFAULT)
        MessageBeep(MB_OK);
    else if (action == SOUND_BEEP_EXCLAMATION)
        MessageBeep(MB_ICONEXCLAMATION);
}
