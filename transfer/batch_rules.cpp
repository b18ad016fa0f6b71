#include "transfer/batch_rules.h"

#include <stdio.h>
#include <string.h>

#include "listing/file_item.h"

int BatchEntryAction(uint32_t kind, const char *name, int upload)
{
    if (!name[0] || strcmp(name, "..") == 0 || strcmp(name, ".") == 0)
        return BATCH_SKIP;
    if (kind == KIND_DRIVE || (upload && name[0] == '['))
        return BATCH_SKIP;
    return kind == KIND_FOLDER ? BATCH_FOLDER : BATCH_FILE;
}

int JoinLocalPath(char *out, int size, const char *folder, const char *name)
{
    size_t length = strlen(folder);
    const char *separator = length && (folder[length - 1] == '\\' || folder[length - 1] == '/') ? "" : "\\";
    int n = snprintf(out, (size_t)size, "%s%s%s", folder, separator, name);
    return n > 0 && n < size;
}

int SplitLocalPath(const char *path, char *folder, int folderSize, char *name, int nameSize)
{
    const char *back = strrchr(path, '\\'), *slash = strrchr(path, '/');
    const char *last = back > slash ? back : slash;
    if (!last)
        return 0;
    int folderLength = (int)(last - path);
    if (folderLength == 2 && path[1] == ':')
        folderLength = 3;   // "C:\": the root keeps its separator
    if (folderLength >= folderSize || (int)strlen(last + 1) >= nameSize)
        return 0;
    memcpy(folder, path, (size_t)folderLength);
    folder[folderLength] = '\0';
    snprintf(name, (size_t)nameSize, "%s", last + 1);
    return 1;
}

void EditTempName(char *temp, int size, const char *remoteName)
{
    size_t length = strlen(temp);
    const char *dot = strrchr(remoteName, '.');
    const char *cut = strrchr(remoteName, '/');
    if (!dot || (cut && cut > dot) || !dot[1] || length < 4 || strcmp(temp + length - 4, ".TMP") != 0)
        return;
    char extension[5];
    snprintf(extension, sizeof extension, "%s", dot);
    snprintf(temp + length - 4, (size_t)size - (length - 4), "%s", extension);
}
