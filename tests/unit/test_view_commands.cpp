// The command lines that view, edit and run files.
#include <gtest/gtest.h>

#include "ui/view_commands.h"

namespace {

// {what, name, file, the shell's program and the WIN.INI value (or null), built, command}
const struct { const char *what, *name, *file, *found, *association; bool built; const char *command; } EditCases[] = {
    {"association with caret", "a.doc", "C:\\T\\EDT1.doc", nullptr, "write ^.doc", true, "write C:\\T\\EDT1.doc"},
    {"association without caret", "a.doc", "a.doc", nullptr, "write", true, "write a.doc"},
    {"shell program first", "a.doc", "a.doc", "C:\\bin\\ed.exe", "write ^.doc", true, "C:\\bin\\ed.exe a.doc"},
    {"shell program with blank", "a.doc", "a.doc", "C:\\My Apps\\ed.exe", nullptr, true,
     "\"C:\\My Apps\\ed.exe\" a.doc"},
    {"no association: viewer", "a.xyz", "C:\\T\\a.xyz", nullptr, nullptr, true, "vi C:\\T\\a.xyz"},
    {"no extension: viewer and dot", "README", "C:\\T.d\\README", nullptr, "x ^", true, "vi C:\\T.d\\README."},
    {"viewer keeps a dotted name", "r.txt", "C:\\r.txt", nullptr, nullptr, true, "vi C:\\r.txt"},
    {"last extension counts", "a.tar.gz", "f.gz", nullptr, nullptr, true, "vi f.gz"},
    {"bat in the viewer", "go.BAT", "go.BAT", "C:\\cmd.exe", "x", true, "vi go.BAT"},
    {"pif", "p.pif", "p.pif", nullptr, nullptr, true, "pifedit p.pif"},
    {"exe never edited", "run.exe", "run.exe", nullptr, "x", false, ""},
    {"com never edited", "RUN.COM", "RUN.COM", nullptr, nullptr, false, ""},
};

TEST(ViewCommands, EditCommandTable)
{
    for (const auto &c : EditCases) {
        std::string command;
        EXPECT_EQ(EditCommandFor(c.name, c.file, "vi", c.found, c.association, &command), c.built) << c.what;
        EXPECT_EQ(command, c.command) << c.what;
    }
}

TEST(ViewCommands, ExecFallbackTable)
{
    const struct { const char *file, *association; ExecFallback fallback; const char *command; } cases[] = {
        {"C:\\x\\setup.exe", nullptr, EXEC_START_FILE, "C:\\x\\setup.exe"},
        {"go.Bat", "x", EXEC_START_FILE, "go.Bat"},
        {"a.txt", "notepad ^.txt", EXEC_START_COMMAND, "notepad a.txt"},
        {"a.txt", "notepad", EXEC_START_COMMAND, "notepad a.txt"},
        {"a.qqq", nullptr, EXEC_ASK_ASSOCIATION, ""},
        {"C:\\a.b\\noext", nullptr, EXEC_NOTHING, ""},
    };
    for (const auto &c : cases) {
        std::string command;
        EXPECT_EQ(ExecFallbackFor(c.file, c.association, &command), c.fallback) << c.file;
        EXPECT_EQ(command, c.command) << c.file;
    }
}

TEST(ViewCommands, DisplayFileTakesTheRemoteExtension)
{
    const struct { const char *temp, *remote, *display; } cases[] = {
        {"C:\\T\\DSP1A.TMP", "report.txt", "C:\\T\\DSP1A.txt"},
        {"C:\\T\\DSP1A.tmp", "a.b.html", "C:\\T\\DSP1A.htm"},
        {"C:\\T\\DSP1A.TMP", "README", "C:\\T\\DSP1A.TMP"},
        {"C:\\T\\DSP1A", "x.c", "C:\\T\\DSP1A"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DisplayFileName(c.temp, c.remote), c.display) << c.remote;
}

} // namespace
