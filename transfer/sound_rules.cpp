#include "transfer/sounds.h"

SoundAction SoundForEvent(const SoundSwitches *s, int event, int waveExists)
{
    bool known = event == SOUND_OTHER_FAILURE || event == SOUND_CONNECT_SUCCESS ||
                 event == SOUND_CONNECT_FAILURE || event == SOUND_TRANSFER_SUCCESS ||
                 event == SOUND_TRANSFER_FAILURE;
    if (!s->bell || !known || !(s->flags & event))
        return SOUND_SILENT;
    if (s->useWave && waveExists)
        return SOUND_PLAY_WAVE;
    if (event == SOUND_CONNECT_SUCCESS)
        return SOUND_BEEP_ASTERISK;
    if (event == SOUND_TRANSFER_SUCCESS)
        return SOUND_BEEP_DEFAULT;
    return SOUND_BEEP_EXCLAMATION;
}
