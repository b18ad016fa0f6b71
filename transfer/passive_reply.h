// Reading the data address out of a reply to PASV (or XPSV).
//
// The address is six unsigned decimal numbers h1,h2,h3,h4,p1,p2 meaning
// host h1.h2.h3.h4 and port p1*256+p2. Servers word the reply freely, so
// the numbers are looked for as follows:
//   227 Entering Passive Mode (192,168,1,2,4,1)     after the first "("
//   227 Entering Passive Mode (192,168,1,2,4,1).    text from ")" on is cut
//   227 =10,0,0,5,200,10                            no "(": the first digit
//                                                   after the reply code
//   227 Entering Passive Mode ( 10, 0, 0, 5, 4, 1 ) blanks around the numbers
// Every number must be 0..255; anything else reads as a bad address.
#pragma once
#include <stddef.h>

enum PassiveParse {
    PASSIVE_OK = 0,
    PASSIVE_NO_ADDRESS = 1,    // neither "(" nor a digit after the code
    PASSIVE_BAD_ADDRESS = 2,   // fewer than six valid numbers
};

struct PassiveAddress {
    unsigned char host[4];
    unsigned port;
    char hostText[16];         // "%u.%u.%u.%u"
    char startText[128];       // the text parsing started at (for messages)
};

// Parses one reply line. Fills `out` (startText also on PASSIVE_BAD_ADDRESS).
PassiveParse ParsePassiveReply(const char *line, PassiveAddress *out);

// "PORT a,b,c,d,p1,p2" for an IPv4 address given as its four bytes in
// network order and a port in host order.
void FormatPortCommand(char *buffer, size_t size, const unsigned char address[4], unsigned port);
