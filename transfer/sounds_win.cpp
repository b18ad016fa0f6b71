#include "transfer/sounds.h"

#include <windows.h>
#include <mmsystem.h>
#include <stdio.h>
#include <string.h>

#include "app/config.h"

namespace {

struct SoundSettings {
    bool loaded;
    int bell;
    int useWave;
    int flags;
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
    Sounds.bell = ConfigGetInt("BELL", 1);
    Sounds.useWave = ConfigGetInt("usewave", 1);
    Sounds.flags = ConfigGetInt("soundflags", 30);
    for (int i = 0; i < 5; i++) {
        char def[256];
        snprintf(def, sizeof def, "%s%s", folder, WaveNames[i]);
        ConfigGetString(WaveKeys[i], def, Sounds.waves[i], sizeof Sounds.waves[i]);
    }
    Sounds.loaded = true;
}

void PlayEventSound(int event)
{
    if (!Sounds.loaded)
        LoadSoundSettings();
    int index = EventIndex(event);
    if (!Sounds.bell || index < 0 || !(Sounds.flags & event))
        return;
    const char *wave = Sounds.waves[index];
    if (Sounds.useWave && wave[0] && GetFileAttributesA(wave) != INVALID_FILE_ATTRIBUTES &&
        PlaySoundA(wave, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
        return;
    UINT beep = event == 2 ? MB_ICONASTERISK : event == 8 ? MB_OK : MB_ICONEXCLAMATION;
    MessageBeep(beep);
}
