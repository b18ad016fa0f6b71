// Fuzzes the program's own text readers: the reply-line reader over an
// arbitrary byte stream cut into arbitrary receives, the command-line option
// grammar, saved geometry values and stored passwords.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "app/geometry.h"
#include "cmdline/options.h"
#include "ftp/reply.h"
#include "sites/stored_password.h"

// chunk: the receive size; data: what the server sent.
static void ReadReplies(int chunk, const uint8_t *data, size_t size)
{
    PendingBytes pending;
    ClearPending(&pending);
    size_t offset = 0;
    for (int lines = 0; lines < 10000; lines++) {
        char line[REPLY_LINE_READ + 1];
        memset(line, 0, sizeof line);
        bool complete = false;
        int held = TakePendingLine(&pending, line, &complete);
        while (!complete && held < REPLY_LINE_PIECE && offset < size) {
            int n = std::min({(int)(size - offset), chunk, REPLY_LINE_READ - held});
            memcpy(line + held, data + offset, (size_t)n);
            offset += (size_t)n;
            held = AcceptReceived(line, held, n, &pending, &complete);
        }
        line[held < REPLY_LINE_READ ? held : REPLY_LINE_READ] = '\0';
        int code = ReplyLineCode(line);
        IsContinuedLine(line, code);
        TrimRight(line);
        FindText(line, "ACCOUNT");
        if (!complete && offset >= size && pending.length == 0)
            break;
    }
}

static void ParseOptions(const std::string &text)
{
    const char *p = text.c_str();
    OptionToken t;
    for (int i = 0; i < 1000; i++) {
        p = NextOption(p, &t);
        if (t.kind == OPT_END || t.kind == OPT_UNKNOWN)
            return;
    }
    __builtin_trap();  // options must always end
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    std::string text((const char *)data + 1, size - 1);
    switch (data[0] % 4) {
    case 0:
        if (size > 1)
            ReadReplies(1 + data[1] % 64, data + 2, size - 2);   // the second byte picks the receive size
        break;
    case 1:
        ParseOptions(text);
        break;
    case 2: {
        int g[GEO_COUNT] = {0};
        ParseMainGeometry(text.c_str(), g);
        ParseFourFields(text.c_str(), g);
        ParseIntList(text.c_str(), g, 4);
        break;
    }
    case 3:
        DecodeStoredPassword(text.c_str());
        EncodeStoredPassword(text.c_str(), text.c_str());
        break;
    }
    return 0;
}
