// Recognising the server kind from what it says about itself.
//
// DetectFromSyst reads a SYST reply line ("215 UNIX Type: L8"),
// DetectFromReply one greeting or logon reply line ("220 ProFTPD 1.3.8
// Server ready."). Both return a host-type code, or 6000 when the line names
// no kind they know. When the current host type already belongs to the same
// listing family as the kind found (a greeting said "ProFTPD", SYST then
// says "UNIX"), the current, more specific code is kept.
#pragma once
#include <stdint.h>

uint32_t DetectFromSyst(const char *line, uint32_t current);
uint32_t DetectFromReply(const char *line, uint32_t current);
