#include "data_peer_helper.h"

#include <stdio.h>

#include "veltro_process_helper.h"

std::string DataPeer::PassiveReply(const char *prefix) const
{
    char text[128];
    snprintf(text, sizeof text, "%s127,0,0,1,%u,%u)\r\n", prefix, Port() >> 8, Port() & 0xFF);
    return text;
}

void DataPeer::SendOnConnect(const std::string &bytes, size_t piece, int pauseMs, Ending ending)
{
    SendPieces(bytes, piece, pauseMs);
    if (ending != HOLD)
        ending == CLOSE ? Close() : Reset();
}

bool WriteLocalFile(const std::string &path, const std::string &bytes)
{
    WriteTextFile(path, bytes);
    return ReadTextFile(path) == bytes;
}
