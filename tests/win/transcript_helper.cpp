#include "transcript_helper.h"

#include <stdlib.h>

#include <sstream>

std::string TestPattern(size_t n)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; i++)
        bytes[i] = (char)((i * 131 + i / 251) & 0xFF);
    return bytes;
}

std::vector<std::string> JoinRows(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::string Unescape(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i], e = i + 1 < text.size() ? text[i + 1] : '\\';
        if (c != '\\' || i + 1 == text.size()) {
            out.push_back(c);
        } else if (e == 'x' && i + 3 < text.size() && isxdigit((unsigned char)text[i + 2]) &&
                   isxdigit((unsigned char)text[i + 3])) {
            out.push_back((char)strtoul(text.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            out.push_back(e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e);
            i++;
        }
    }
    return out;
}

bool GlobMatch(const std::string &pattern, const std::string &text)
{
    if (pattern.empty())
        return text.empty();
    if (pattern[0] == '*')
        return GlobMatch(pattern.substr(1), text) || (!text.empty() && GlobMatch(pattern, text.substr(1)));
    return !text.empty() && (pattern[0] == '?' || pattern[0] == text[0]) &&
           GlobMatch(pattern.substr(1), text.substr(1));
}

Transcript::Transcript(const std::vector<std::string> &rows)
{
    for (const std::string &row : rows) {
        if (!AddRow(row)) {
            error_ = "bad transcript row: \"" + row + "\"";
            return;
        }
    }
}

// The text after a marker, without the one blank that separates them.
static std::string After(const std::string &row, size_t marker)
{
    return row.substr(row.size() > marker && row[marker] == ' ' ? marker + 1 : marker);
}

static std::string WithPasv(std::string text, const std::string &pasv)
{
    for (size_t at; (at = text.find("$PASV")) != std::string::npos;)
        text.replace(at, 5, pasv);
    return text;
}

bool Transcript::AddRow(const std::string &row)
{
    if (row.empty() || row[0] == '#')
        return true;
    if (row[0] == '<') {
        bool raw = row.size() > 1 && row[1] == '<';
        std::string bytes = Unescape(WithPasv(After(row, raw ? 2 : 1), pasv_));
        if (!raw)
            bytes += "\r\n";
        server_.SendPieces(bytes, splitPiece_, splitPauseMs_);
        splitPiece_ = 0;
        return true;
    }
    if (row[0] == '>') {
        bool pattern = row.size() > 1 && row[1] == '~';
        expected_.push_back({Unescape(After(row, pattern ? 2 : 1)), pattern});
        server_.ReadCommand();
        return true;
    }
    if (row[0] == '=')
        return AddPeer(After(row, 1));
    if (row[0] != '!')
        return false;
    std::istringstream words(After(row, 1));
    std::string verb;
    long a = -1, b = -1;
    words >> verb >> a >> b;
    if (verb == "pause" && a >= 0)
        server_.Delay((int)a);
    else if (verb == "split" && a > 0 && b >= 0) {
        splitPiece_ = (size_t)a;
        splitPauseMs_ = (int)b;
    } else if (verb == "close")
        server_.Close();
    else if (verb == "reset")
        server_.Reset();
    else if (verb == "urgent")
        server_.ReadUrgent();
    else if (verb == "bytes" && a > 0)
        server_.ReadBytes((size_t)a);
    else if (verb == "drain")
        server_.ReadUntilClosed();
    else
        return false;
    return true;
}

bool Transcript::AddPeer(const std::string &args)
{
    std::istringstream words(args);
    std::string mode, word;
    words >> mode;
    if (mode != "pasv" && mode != "port")
        return false;
    auto row = std::make_unique<PeerRow>();
    row->owner = this;
    row->active = mode == "port";
    std::string bytes;
    bool sends = false, receives = false;
    size_t piece = 0;
    int pauseMs = 0;
    DataPeer::Ending ending = DataPeer::CLOSE;
    while (words >> word) {
        size_t eq = word.find('=');
        std::string key = word.substr(0, eq), value = eq == std::string::npos ? "" : word.substr(eq + 1);
        if (key == "recv")
            receives = true;
        else if (key == "send") {
            sends = true;
            bytes = value[0] == '#' ? TestPattern(strtoul(value.c_str() + 1, nullptr, 10)) : Unescape(value);
        } else if (key == "piece")
            piece = strtoul(value.c_str(), nullptr, 10);
        else if (key == "pause")
            pauseMs = atoi(value.c_str());
        else if (key == "end" && (value == "close" || value == "reset" || value == "hold"))
            ending = value == "close" ? DataPeer::CLOSE : value == "reset" ? DataPeer::RESET : DataPeer::HOLD;
        else
            return false;
    }
    if (sends == receives)
        return false;
    if (sends)
        row->peer.SendOnConnect(bytes, piece, pauseMs, ending);
    else
        row->peer.ReadUntilClosed();
    row->holds = ending == DataPeer::HOLD;
    if (row->active) {
        row->portIndex = portPeers_++;
    } else {
        if (!row->peer.Listen())
            return false;
        unsigned port = row->peer.Port();
        pasv_ = "127,0,0,1," + std::to_string(port >> 8) + "," + std::to_string(port & 0xFF);
    }
    peers_.push_back(std::move(row));
    return true;
}

std::string Transcript::PortCommandFor(void *peerRow)
{
    const PeerRow *row = static_cast<const PeerRow *>(peerRow);
    int seen = 0;
    for (const std::string &c : row->owner->server_.Commands())
        if (c.rfind("PORT ", 0) == 0 && seen++ == row->portIndex)
            return c;
    return "";
}

void Transcript::Start()
{
    if (!error_.empty())
        return;
    for (auto &row : peers_)
        row->active ? row->peer.StartConnecting(PortCommandFor, row.get()) : row->peer.Start();
    server_.Start();
}

SOCKET Transcript::Connect()
{
    Start();
    return error_.empty() ? ConnectToServer(Port()) : INVALID_SOCKET;
}

::testing::AssertionResult Transcript::Finish(int timeoutMs)
{
    if (!error_.empty())
        return ::testing::AssertionFailure() << error_;
    bool ran = server_.Finish(timeoutMs);
    std::ostringstream why;
    std::vector<std::string> got = server_.Commands();
    for (size_t i = 0; i < expected_.size() || i < got.size(); i++) {
        bool same = i < expected_.size() && i < got.size() &&
                    (expected_[i].pattern ? GlobMatch(expected_[i].text, got[i]) : expected_[i].text == got[i]);
        ran = ran && same;
        why << (same ? "  " : "!!") << " expected "
            << (i < expected_.size() ? "\"" + expected_[i].text + "\"" : "nothing") << ", got "
            << (i < got.size() ? "\"" + got[i] + "\"" : "nothing") << "\n";
    }
    for (size_t k = 0; k < peers_.size(); k++) {
        if (peers_[k]->holds) {
            peers_[k]->peer.Stop();
        } else if (!peers_[k]->peer.Finish(timeoutMs)) {
            why << "data peer " << k << " did not run to its end\n";
            ran = false;
        }
    }
    if (ran)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << server_.Error() << "\n" << why.str();
}
