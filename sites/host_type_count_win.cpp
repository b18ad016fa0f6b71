// The number of host-type codes the loaded host-type library knows, for the
// range check of a profile's TYPE. This is the one place the profile store
// asks for it.
#include "sites/host_type_count_win.h"

// The library loader's operation. Referenced weakly: when the loader is not
// part of the link, the count is asked of veltr32.dll directly, provided the
// program has loaded it.
DWORD HostTypeCount(void) __attribute__((weak));

namespace {

enum { HostTypeCountOrdinal = 922 };

} // namespace

int ValidHostTypeCount(void)
{
    if (HostTypeCount)
        return static_cast<int>(HostTypeCount());
    HMODULE library = GetModuleHandleA("veltr32.dll");
    if (library) {
        typedef DWORD(WINAPI * CountProc)(void);
        CountProc count = reinterpret_cast<CountProc>(reinterpret_cast<void (*)(void)>(
            GetProcAddress(library, MAKEINTRESOURCEA(HostTypeCountOrdinal))));
        if (count)
            return static_cast<int>(count());
    }
    // Without the library only automatic detection is available.
    return 1;
}
