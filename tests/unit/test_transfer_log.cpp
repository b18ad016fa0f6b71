#include <gtest/gtest.h>

#include <string>

#include "transfer/sounds.h"
#include "transfer/transfer_log.h"

namespace {

TEST(TransferLog, LineFormat)
{
    const LogStamp feb3 = {2003, 2, 3, 9, 5};
    const std::string deep = "C:\\" + std::string(150, 'f');
    const struct { int type, direction; std::string folder, site, expected; } rows[] = {
        {'A', LOG_DOWNLOAD, "C:\\tmp", "site1", "2003.02.03 09:05 A C:\\tmp\\b.txt <-- site1 /pub b.txt\n"},
        {'I', LOG_UPLOAD, "C:\\tmp", "ftp.host", "2003.02.03 09:05 B C:\\tmp\\b.txt --> ftp.host /pub b.txt\n"},
        {'L', LOG_DOWNLOAD, deep, "s", "2003.02.03 09:05 B " + deep.substr(0, 143) + "\\b.txt <-- s /pub b.txt\n"},
    };
    for (const auto &r : rows) {
        char line[512];
        FormatTransferLogLine(line, sizeof line, &feb3, r.type, r.folder.c_str(), "b.txt", r.direction,
                              r.site.c_str(), "/pub", "b.txt");
        EXPECT_EQ(r.expected, line);
    }
}

TEST(Sounds, EventFilter)
{
    const struct { SoundSwitches s; int event, waveExists; SoundAction expected; } rows[] = {
        {{1, 1, 30}, SOUND_OTHER_FAILURE, 1, SOUND_SILENT},   // not in the default mask
        {{1, 1, 30}, SOUND_CONNECT_SUCCESS, 1, SOUND_PLAY_WAVE},
        {{1, 1, 30}, SOUND_CONNECT_SUCCESS, 0, SOUND_BEEP_ASTERISK},
        {{1, 1, 30}, SOUND_TRANSFER_SUCCESS, 0, SOUND_BEEP_DEFAULT},
        {{1, 0, 31}, SOUND_OTHER_FAILURE, 1, SOUND_BEEP_EXCLAMATION},   // beeps only
        {{0, 1, 31}, SOUND_TRANSFER_SUCCESS, 1, SOUND_SILENT},             // BELL off
    };
    for (const auto &r : rows)
        EXPECT_EQ(r.expected, SoundForEvent(&r.s, r.event, r.waveExists)) << r.event << " " << r.s.flags;
}

}  // namespace
