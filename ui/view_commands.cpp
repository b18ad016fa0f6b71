// Command lines for viewing, editing and running files.
#include "ui/view_commands.h"

#include <string.h>
#include <strings.h>

const char *FileNamePart(const char *path)
{
    const char *name = path ? path : "";
    for (const char *p = name; *p; p++)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    return name;
}

std::string LastExtension(const char *name)
{
    const char *dot = strrchr(FileNamePart(name), '.');
    return dot ? std::string(dot + 1) : std::string();
}

std::string FirstExtension(const char *name)
{
    const char *dot = strchr(FileNamePart(name), '.');
    return dot ? std::string(dot + 1) : std::string();
}

std::string ViewerCommand(const char *viewer, const char *file)
{
    std::string command = std::string(viewer ? viewer : "") + " " + (file ? file : "");
    if (!strchr(FileNamePart(file), '.'))
        command += ".";
    return command;
}

std::string AssociationCommand(const char *value, const char *file)
{
    std::string v = value ? value : "";
    size_t caret = v.find('^');
    if (caret != std::string::npos)
        return v.substr(0, caret) + (file ? file : "");
    return v + " " + (file ? file : "");
}

std::string FoundProgramCommand(const char *program, const char *file)
{
    std::string p = program ? program : "";
    if (p.find(' ') != std::string::npos)
        return "\"" + p + "\" " + (file ? file : "");
    return p + " " + (file ? file : "");
}

bool EditCommandFor(const char *name, const char *file, const char *viewer, const char *foundProgram,
                    const char *association, std::string *command)
{
    std::string ext = LastExtension(name);
    const char *e = ext.c_str();
    if (ext.empty() || strcasecmp(e, "bat") == 0) {
        *command = ViewerCommand(viewer, file);
        return true;
    }
    if (strcasecmp(e, "exe") == 0 || strcasecmp(e, "com") == 0)
        return false;
    if (strcasecmp(e, "pif") == 0)
        *command = std::string("pifedit ") + (file ? file : "");
    else if (foundProgram && *foundProgram)
        *command = FoundProgramCommand(foundProgram, file);
    else if (association && *association)
        *command = AssociationCommand(association, file);
    else
        *command = ViewerCommand(viewer, file);
    return true;
}

ExecFallback ExecFallbackFor(const char *file, const char *association, std::string *command)
{
    std::string ext = FirstExtension(file);
    if (ext.empty())
        return EXEC_NOTHING;
    for (const char *program : {"exe", "com", "bat", "pif"})
        if (strcasecmp(ext.c_str(), program) == 0) {
            *command = file;
            return EXEC_START_FILE;
        }
    if (!association)
        return EXEC_ASK_ASSOCIATION;
    *command = AssociationCommand(association, file);
    return EXEC_START_COMMAND;
}

std::string DisplayFileName(const char *tempName, const char *remoteName)
{
    std::string temp = tempName ? tempName : "";
    const char *dot = strrchr(remoteName ? remoteName : "", '.');
    if (!dot)
        return temp;
    size_t at = temp.rfind(".TMP");
    if (at == std::string::npos)
        at = temp.rfind(".tmp");
    if (at == std::string::npos)
        return temp;
    return temp.substr(0, at) + std::string(dot, strnlen(dot, 4)) + temp.substr(at + 4);
}
