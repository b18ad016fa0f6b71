#include <gtest/gtest.h>

#include <string>

#include "transfer/sounds.h"
#include "transfer/transfer_log.h"

namespace {

TEST(TransferLog, LineFormat)
{
    const LogStamp feb3 = {2003, 2, 3, 9, 5};
    const std::string longFolder = "C:\\" + std::string(150, 'f');
    struct {
        int type, direction;
        const char *folder, *site, *expected;
    } rows[] = {
        {'A', LOG_DOWNLOAD, "C:\\tmp", "site1", "2003.02.03 09:05 A C:\\tmp\\b.txt <-- site1 /pub b.txt\n"},
        {'I', LOG_UPLOAD, "C:\\tmp", "ftp.example.org",
         "2003.02.03 09:05 B C:\\tmp\\b.txt --> ftp.example.org /pub b.txt\n"},
        {'L', LOG_DOWNLOAD, "D:\\", "s", "2003.02.03 09:05 B D:\\\\b.txt <-- s /pub b.txt\n"},
        {'A', LOG_DOWNLOAD, longFolder.c_str(), "s",
         nullptr},   // the folder is cut to 143 characters
    };
    for (const auto &r : rows) {
        char line[512];
        FormatTransferLogLine(line, sizeof line, &feb3, r.type, r.folder, "b.txt", r.direction,
                              r.site, "/pub", "b.txt");
        std::string expected = r.expected ? r.expected
                                          : "2003.02.03 09:05 A " + longFolder.substr(0, 143) +
                                                "\\b.txt <-- s /pub b.txt\n";
        EXPECT_EQ(expected, line);
    }
    char small[20];
    FormatTransferLogLine(small, sizeof small, &feb3, 'A', "C:\\tmp", "b.txt", LOG_DOWNLOAD,
                          "site1", "/pub", "b.txt");
    EXPECT_STREQ("2003.02.03 09:05 A ", small);
}

TEST(TransferLog, OnlyOneEnables)
{
    EXPECT_TRUE(TransferLogAllowed(1));
    for (int value : {0, 2, -1, 11})
        EXPECT_FALSE(TransferLogAllowed(value)) << value;
}

TEST(Sounds, EventFilter)
{
    struct {
        const char *what;
        SoundSwitches s;
        int event, waveExists;
        SoundAction expected;
    } rows[] = {
        {"other failure off by default", {1, 1, 30}, SOUND_OTHER_FAILURE, 1, SOUND_SILENT},
        {"other failure enabled", {1, 1, 31}, SOUND_OTHER_FAILURE, 0, SOUND_BEEP_EXCLAMATION},
        {"connect wave", {1, 1, 30}, SOUND_CONNECT_SUCCESS, 1, SOUND_PLAY_WAVE},
        {"connect without wave", {1, 1, 30}, SOUND_CONNECT_SUCCESS, 0, SOUND_BEEP_ASTERISK},
        {"complete without wave", {1, 1, 30}, SOUND_TRANSFER_SUCCESS, 0, SOUND_BEEP_DEFAULT},
        {"transfer failure beeps", {1, 1, 30}, SOUND_TRANSFER_FAILURE, 0, SOUND_BEEP_EXCLAMATION},
        {"beeps only", {1, 0, 30}, SOUND_CONNECT_FAILURE, 1, SOUND_BEEP_EXCLAMATION},
        {"bell off", {0, 1, 31}, SOUND_TRANSFER_SUCCESS, 1, SOUND_SILENT},
        {"bit clear", {1, 1, 8}, SOUND_CONNECT_SUCCESS, 1, SOUND_SILENT},
        {"only its own bit", {1, 1, 8}, SOUND_TRANSFER_SUCCESS, 1, SOUND_PLAY_WAVE},
        {"unknown event", {1, 1, 63}, 32, 1, SOUND_SILENT},
        {"two bits at once", {1, 1, 31}, 3, 1, SOUND_SILENT},
    };
    for (const auto &r : rows)
        EXPECT_EQ(r.expected, SoundForEvent(&r.s, r.event, r.waveExists)) << r.what;
}

}  // namespace
